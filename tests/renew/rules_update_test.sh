#!/bin/bash
# A new edition of the rules document reaches an installed calculator
# through the updater alone, as an ordinary file of a release whose programs
# did not change: qinghe-publish puts 1.0.0.506 on a real server on
# 127.0.0.1 (http_test_server.py around this script) with the calculator as
# it was and a rules.xml whose first commercial option is a new LPR; the
# calculator's check starts renew -h, which stages only rules.xml; the next
# start hands off to renew -m, which installs it; and the calculator started
# then offers the new LPR.
#   rules_update_test.sh UIDRIVER QINGHE_PUBLISH
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
shipped="$(dirname "$driver")/rules.xml"

# The installed 1.0.0.505, with the shipped edition.
dir="$work/installed"
mkdir -p "$dir"
printf 'calculator 505' >"$dir/QingheCalc"
printf 'updater 505' >"$dir/renew"
cp "$shipped" "$dir/rules.xml"
printf 'Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\青禾计算器\tDisplayVersion\t1.0.0.505\n' |
    iconv -f UTF-8 -t GBK >"$dir/registry.txt"

# The release: the same calculator, a new edition of the rules.
mkdir -p "$work/release"
cp "$dir/QingheCalc" "$work/release/QingheCalc"
sed -e 's/Edition="2026-01-01"/Edition="2026-06-01"/' \
    -e 's/Text="LPR 3.5%" Annual="3.5"/Text="LPR 3.45%" Annual="3.45"/' "$shipped" >"$work/release/rules.xml"
cmp -s "$shipped" "$work/release/rules.xml" && fail "the new edition is the shipped one"
printf '利率更新\n' >"$work/notes.txt"
"$publish" --release "$work/release" --version 1.0.0.506 --notes "$work/notes.txt" --out "$served" \
    --key "$key" >/dev/null || fail "publish"

rate() { printf 'print RateEdit\nprint RateOption\nquit\n' | "$driver" --program-dir "$dir" QingheCalc | tr '\n' ' '; }
[ "$(rate)" = "RateEdit=3.5 RateOption=LPR 3.5% " ] || fail "before the update: $(rate)"

# The command line a step recorded for a program of the folder, without the
# quoted path: what the program itself is given.
recorded() { grep "^\"$dir\\\\$1\" " | head -1 | sed "s/^\"[^\"]*\" //"; }
updater() { printf 'wait %s\nstarted\n' "${WAIT:-30000}" | "$driver" --program-dir "$dir" --update-key "$key.pub" renew "$@"; }
check="$(printf 'wait 1500\nstarted\nquit\n' | "$driver" --program-dir "$dir" QingheCalc | recorded renew)"
case "$check" in "-h "*) ;; *) fail "the calculator did not start renew -h: '$check'" ;; esac
updater $check >/dev/null
staged="$(ls "$dir/update" 2>/dev/null | grep -v -e '^config.xml$' -e '^renewlist.xml' -e '^part$' | tr '\n' ' ')"
rules_hex="$(printf 'rules.xml' | od -An -tx1 | tr -d ' \n' | tr a-f A-F)"
[ "$staged" = "$rules_hex " ] || fail "staged other than rules.xml: '$staged'"
handoff="$(printf 'started\n' | "$driver" --program-dir "$dir" QingheCalc | recorded renew)"
case "$handoff" in "-m "*) ;; *) fail "the calculator did not hand off to renew -m: '$handoff'" ;; esac
WAIT=0 updater $handoff >/dev/null
cmp -s "$work/release/rules.xml" "$dir/rules.xml" || fail "the new edition is not installed"
iconv -f GBK -t UTF-8 "$dir/registry.txt" | grep -q 'DisplayVersion	1.0.0.506' || fail "DisplayVersion"
[ "$(rate)" = "RateEdit=3.45 RateOption=LPR 3.45% " ] || fail "after the update: $(rate)"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
