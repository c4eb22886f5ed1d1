#!/bin/bash
# The whole update cycle through uidriver against a real server on 127.0.0.1
# (tests/support/http_test_server.py starts it around this script): each
# program start that the previous step recorded is carried out by the next
# step, as the system would start it.
#   1. A program folder holds version 1.0.0.505 of QingheCalc and renew.
#   2. qinghe-publish puts 1.0.0.506 on the server: a file in a subfolder
#      changes, and so does renew itself (delivered as renew.ex_).
#   3. The calculator starts; its background check starts renew -h.
#   4. renew -h stages every changed file and writes the state file.
#   5. The next start of the calculator hands off to renew -m.
#   6. renew -m installs, records DisplayVersion and starts the calculator.
#   7. That start moves renew.ex_ over renew.
# The server is signed with the tests' key and the updater runs with its
# public key, as a release build does.
# At the end the folder equals the release byte for byte, with no state
# file left. Then the cycle is cut short at two points (kill -9 during a
# download, and during the installation between two files) and run again:
# it must end with the new version complete. Last, a staged file changed
# after the download must not be installed: the user is told, the old
# calculator starts, and the next run stages the file again and completes.
#   update_cycle_test.sh UIDRIVER QINGHE_PUBLISH
set -u
driver="$1"
publish="$2"
key="$(cd "$(dirname "$0")/../support" && pwd)/update-test-key.pem"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/"
export QINGHE_SITE_URL="http://127.0.0.1:9/site"
unset BROWSER
served="$QH_TEST_SERVER_ROOT/qingheupdate"

mkdir -p "$work/release/skin"
printf 'calculator 506' >"$work/release/QingheCalc"
printf 'updater 506' >"$work/release/renew.ex_"
head -c 300000 /dev/urandom >"$work/release/skin/bg.png"
printf 'read me' >"$work/release/readme.txt"
printf '新版本\n' >"$work/notes.txt"
"$publish" --release "$work/release" --version 1.0.0.506 --notes "$work/notes.txt" --out "$served" \
    --key "$key" >/dev/null || fail "publish"
[ -s "$served/renew.xml.sig" ] || fail "the server is not signed"

installed() {
    mkdir -p "$1/skin"
    printf 'calculator 505' >"$1/QingheCalc"
    printf 'updater 505' >"$1/renew"
    printf 'picture 505' >"$1/skin/bg.png"
    printf 'read me' >"$1/readme.txt"
    printf 'Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\青禾计算器\tDisplayVersion\t1.0.0.505\n' |
        iconv -f UTF-8 -t GBK >"$1/registry.txt"
}
# The command line a step recorded for a program of the folder, without the
# quoted path: what the program itself is given.
recorded() { grep "^\"$1\\\\$2\" " | head -1 | sed "s/^\"[^\"]*\" //"; }
calculator() { printf 'wait 1500\nstarted\nquit\n' | QINGHE_UPDATE_URL="$QINGHE_UPDATE_URL" "$driver" --program-dir "$1" QingheCalc; }
updater() { local dir="$1"; shift; printf 'wait %s\nstarted\n' "${WAIT:-30000}" | "$driver" --program-dir "$dir" --update-key "$key.pub" renew "$@"; }
matches_release() {
    local dir="$1" f
    for f in QingheCalc skin/bg.png readme.txt; do
        cmp -s "$work/release/$f" "$dir/$f" || { echo "differs: $f"; return 1; }
    done
    cmp -s "$work/release/renew.ex_" "$dir/renew" || { echo "differs: renew"; return 1; }
    [ ! -e "$dir/renew.ex_" ] || { echo "renew.ex_ left"; return 1; }
    [ ! -e "$dir/update/config.xml" ] || { echo "state file left"; return 1; }
    [ ! -e "$dir/update/renewlist.xml" ] || { echo "kept list left"; return 1; }
    # (a run killed in the middle of a copy may leave its .tmp file behind)
    [ -z "$(ls -A "$dir/update/backup" 2>/dev/null | grep -v '\.tmp$')" ] || { echo "copies left"; return 1; }
    iconv -f GBK -t UTF-8 "$dir/registry.txt" | grep -q 'DisplayVersion	1.0.0.506' || { echo "DisplayVersion"; return 1; }
}

# --- The whole cycle. ---
dir="$work/cycle"; installed "$dir"
check="$(calculator "$dir" | recorded "$dir" renew)"
case "$check" in "-h "*) ;; *) fail "the calculator did not start renew -h: '$check'" ;; esac
updater "$dir" $check >/dev/null
grep -q 'St="1"' "$dir/update/config.xml" 2>/dev/null || fail "renew -h left no state file"
cmp -s "$served/renewlist.xml" "$dir/update/renewlist.xml" && cmp -s "$served/renewlist.xml.sig" "$dir/update/renewlist.xml.sig" ||
    fail "renew -h did not keep the signed list beside the state file"
[ "$(cat "$dir/QingheCalc")" = 'calculator 505' ] || fail "renew -h installed something"
handoff="$(printf 'started\n' | "$driver" --program-dir "$dir" QingheCalc | recorded "$dir" renew)"
case "$handoff" in "-m "*) ;; *) fail "the calculator did not hand off to renew -m: '$handoff'" ;; esac
relaunch="$(WAIT=0 updater "$dir" $handoff | recorded "$dir" QingheCalc)"
[ -n "$relaunch" ] || fail "renew -m did not start the calculator"
calculator "$dir" >/dev/null
result="$(matches_release "$dir")" || fail "after the cycle: $result"

# --- Cut short during a download, then run again. ---
dir="$work/cut-download"; installed "$dir"
check="$(calculator "$dir" | recorded "$dir" renew)"
# The big file comes slowly: the updater is killed while it is on the way.
printf '/qingheupdate/skin\\bg.png trickle 1\n' >"$QH_TEST_SERVER_ROOT/.faults"
(updater "$dir" $check >/dev/null) & pid=$!
sleep 2.5
pkill -9 -P "$pid" 2>/dev/null; kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
rm -f "$QH_TEST_SERVER_ROOT/.faults"
[ ! -e "$dir/update/config.xml" ] || fail "a state file after a cut download"
[ ! -e "$dir/update/$(printf 'skin\\bg.png' | od -An -tx1 | tr -d ' \n' | tr a-f A-F)" ] ||
    cmp -s "$work/release/skin/bg.png" "$dir/update/736B696E5C62672E706E67" || fail "a half file carries the staging name"
[ "$(cat "$dir/QingheCalc")" = 'calculator 505' ] || fail "the old version is not intact after a cut download"
updater "$dir" $check >/dev/null
handoff="$(printf 'started\n' | "$driver" --program-dir "$dir" QingheCalc | recorded "$dir" renew)"
WAIT=0 updater "$dir" $handoff >/dev/null
calculator "$dir" >/dev/null
result="$(matches_release "$dir")" || fail "after a cut download and a new run: $result"

# --- Cut short during the installation, then run again. ---
dir="$work/cut-install"; installed "$dir"
check="$(calculator "$dir" | recorded "$dir" renew)"
updater "$dir" $check >/dev/null
handoff="$(printf 'started\n' | "$driver" --program-dir "$dir" QingheCalc | recorded "$dir" renew)"
# Files go in 100 ms apart: kill -m after the first one.
(WAIT=0 updater "$dir" $handoff >/dev/null) & pid=$!
sleep 0.35
pkill -9 -P "$pid" 2>/dev/null; kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
# Every file is whole, old or new, and the update is not reported as done.
for f in QingheCalc skin/bg.png; do
    cmp -s "$work/release/$f" "$dir/$f" || grep -q 505 "$dir/$f" || fail "$f is half installed"
done
iconv -f GBK -t UTF-8 "$dir/registry.txt" | grep -q 'DisplayVersion	1.0.0.505' || fail "recorded as done while cut short"
grep -q 'St="1"' "$dir/update/config.xml" || fail "the state file went before the installation ended"
# The next start of the calculator hands off again and the update completes.
handoff="$(printf 'started\n' | "$driver" --program-dir "$dir" QingheCalc | recorded "$dir" renew)"
case "$handoff" in "-m "*) ;; *) fail "no second hand-off: '$handoff'" ;; esac
WAIT=0 updater "$dir" $handoff >/dev/null
calculator "$dir" >/dev/null
result="$(matches_release "$dir")" || fail "after a cut installation and a new run: $result"

# --- A staged file changed after the download: not installed, and the next
# run stages it again and completes. ---
dir="$work/tampered"; installed "$dir"
check="$(calculator "$dir" | recorded "$dir" renew)"
updater "$dir" $check >/dev/null
printf 'calculator 666' >"$dir/update/$(printf 'QingheCalc' | od -An -tx1 | tr -d ' \n' | tr a-f A-F)"
handoff="$(printf 'started\n' | "$driver" --program-dir "$dir" QingheCalc | recorded "$dir" renew)"
out="$(printf '%s\n' 'window 提示：' 'print BoxText' 'click BoxButton1' 'started' |
    "$driver" --program-dir "$dir" --update-key "$key.pub" renew $handoff)"
echo "$out" | grep -qx 'BoxText=更新未能完成: QingheCalc 与更新文件列表不符。下次启动时将再次尝试。' ||
    fail "no notice that the install failed: $out"
[ -n "$(echo "$out" | recorded "$dir" QingheCalc)" ] || fail "the old calculator was not started again: $out"
[ "$(cat "$dir/QingheCalc")" = 'calculator 505' ] || fail "a changed staged file was installed"
iconv -f GBK -t UTF-8 "$dir/registry.txt" | grep -q 'DisplayVersion	1.0.0.505' || fail "a failed install was recorded"
grep -q 'St="1"' "$dir/update/config.xml" || fail "a failed install removed the state file"
updater "$dir" $check >/dev/null
WAIT=0 updater "$dir" $handoff >/dev/null
calculator "$dir" >/dev/null
result="$(matches_release "$dir")" || fail "after a changed staged file and a new run: $result"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
