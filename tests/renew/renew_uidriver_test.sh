#!/bin/bash
# renew driven through uidriver against a real server on 127.0.0.1 (started
# around this script by tests/support/http_test_server.py, which names it in
# QH_TEST_SERVER, serves QH_TEST_SERVER_ROOT and logs every request in
# QH_TEST_SERVER_LOG): a release published with qinghe-publish, then every
# phase of the window in interactive mode, the automatic mode, the install
# mode, a server that is down, the single instance and bad command lines.
#   renew_uidriver_test.sh UIDRIVER QINGHE_PUBLISH
set -u
driver="$1"
publish="$2"
here="$(cd "$(dirname "$0")" && pwd)"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/"
export QINGHE_SITE_URL="http://127.0.0.1:9/site"
unset BROWSER
served="$QH_TEST_SERVER_ROOT/qingheupdate"
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }
args() { echo "$1 $(hex QingheCalc) $(hex "$2") $(hex 4321)"; }

# Version 1.0.0.506: the calculator and a picture in a subfolder change, and
# a new updater comes as renew.ex_; readme.txt stays as it was.
mkdir -p "$work/release/skin"
# The calculator is 1.5 MB, so that its size cell has a figure to show.
{ printf 'calculator 506'; head -c $((1536 * 1024 - 14)) /dev/zero; } >"$work/release/QingheCalc"
printf 'picture 506' >"$work/release/skin/bg.png"
printf 'updater 506' >"$work/release/renew.ex_"
printf 'read me' >"$work/release/readme.txt"
printf '修正了组合贷款的月供。\n新增车贷计算。\n' >"$work/notes.txt"
"$publish" --release "$work/release" --version 1.0.0.506 --notes "$work/notes.txt" --out "$served" >/dev/null ||
    fail "publish"
cp "$here/server/renew_ad.png" "$here/server/renew_ad.txt" "$here/server/renew_ad.tips" "$served/"

# A program folder with version 1.0.0.503 installed.
installed() {
    mkdir -p "$1/skin"
    printf 'calculator 503' >"$1/QingheCalc"
    printf 'picture 503' >"$1/skin/bg.png"
    printf 'read me' >"$1/readme.txt"
}
drive() { local dir="$1"; shift; printf '%s\n' "$@" | "$driver" --program-dir "$dir" renew $ARGS; }
values() { grep "^$1=" | sed "s/^$1=//"; }

# --- Interactive: every phase, then the installation from 完成. ---
dir="$work/interactive"; installed "$dir"
ARGS="$(args -s 1.0.0.503)"
out="$(drive "$dir" 'wait 1000' 'print StatusLabel' 'print Notes' 'print MainButton' \
    'shot '"$work/notes.png" \
    'click MainButton' 'wait 1500' 'print StatusLabel' 'cells DownloadList' 'print MainButton' \
    'click MainButton' 'wait 1500' 'cells DownloadList' 'state MainButton' 'print CancelButton' \
    'state StartCheck' 'state SiteCheck' \
    'click CancelButton' 'wait 500' 'started')"
echo "$out" | grep -qx 'StatusLabel=本地版本:1.0.0.503    服务器版本:1.0.0.506' || fail "status line: $out"
echo "$out" | grep -q '^Notes=修正了组合贷款的月供。' || fail "release notes: $out"
[ "$(echo "$out" | values MainButton | head -1)" = 下一步 ] || fail "next after the version: $out"
echo "$out" | grep -qx 'StatusLabel=文件效验完毕,请点击 下一步 开始下载安装更新.' || fail "compared: $out"
# Only what differs is listed, in the list's order; readme.txt is current.
listed="$(echo "$out" | grep -P '^\S+\t-\t-\t[0-9A-F]{32}$' | cut -f1 | sort | tr '\n' ' ')"
[ "$listed" = 'QingheCalc renew.ex_ skin\bg.png ' ] || fail "listed: '$listed'"
done_rows="$(echo "$out" | grep -cP '\t下载完毕\t')"
echo "$out" | grep -qP '^QingheCalc\t1.5\t下载完毕\t' || fail "size cell of the announced 1.5 MB: $out"
[ "$done_rows" = 3 ] || fail "downloaded rows: $done_rows"
echo "$out" | grep -q '^MainButton visible=0' || fail "main button hidden at the end: $out"
[ "$(echo "$out" | values CancelButton)" = 完成 ] || fail "完成: $out"
echo "$out" | grep -q '^StartCheck visible=1 enabled=1 checked=1' || fail "start check box: $out"
# 完成 installed: the folder holds the release, the version is recorded, the
# calculator is started again (its path quoted) and the site opened.
for f in QingheCalc skin/bg.png renew.ex_ readme.txt; do
    cmp -s "$work/release/$f" "$dir/$f" || fail "installed $f"
done
[ ! -e "$dir/update/config.xml" ] || fail "state file left behind"
iconv -f GBK -t UTF-8 "$dir/registry.txt" | grep -q 'DisplayVersion	1.0.0.506' || fail "DisplayVersion"
echo "$out" | grep -qx "\"$dir\\\\QingheCalc\" [0-9]*" || fail "relaunch: $out"
# The check box opens the same address as the window's site link.
echo "$out" | grep -qx 'xdg-open "http://127.0.0.1:9/site/?ref=rodode"' || fail "site: $out"

# --- Downloads that go wrong: each is 下载失败 with nothing staged under
# its name and nothing installed, and 重新下载 then fetches it. ---
for fault in 404 500 wrong-body truncated dropped; do
    dir="$work/fault-$fault"; installed "$dir"
    printf '/qingheupdate/QingheCalc %s 1\n' "$fault" >"$QH_TEST_SERVER_ROOT/.faults"
    ARGS="$(args -s 1.0.0.503)"
    out="$(drive "$dir" 'wait 1000' 'click MainButton' 'wait 1500' 'click MainButton' 'wait 2000' \
        'cells DownloadList' 'print StatusLabel' 'print MainButton' 'state CancelButton' \
        'click MainButton' 'wait 2000' 'cells DownloadList' 'print CancelButton')"
    first="$(echo "$out" | grep -P '^QingheCalc\t' | head -1)"
    case "$first" in *"	下载失败	"*) ;; *) fail "$fault: row not failed: $first" ;; esac
        echo "$out" | grep -qx 'StatusLabel=文件更新失败,请检查网络连接!' || fail "$fault: status: $out"
    echo "$out" | grep -qx 'MainButton=重新下载' || fail "$fault: retry button: $out"
    echo "$out" | grep -q '^CancelButton visible=1 enabled=1' || fail "$fault: cancel not enabled: $out"
    [ "$(echo "$out" | grep -cP '\t下载完毕\t')" -ge 3 ] || fail "$fault: the retry did not fetch everything: $out"
    [ "$(echo "$out" | values CancelButton | tail -1)" = 完成 ] || fail "$fault: no 完成 after the retry: $out"
    [ "$(cat "$dir/QingheCalc")" = 'calculator 503' ] || fail "$fault: installed before 完成"
    cmp -s "$work/release/QingheCalc" "$dir/update/$(hex QingheCalc)" || fail "$fault: the retry staged other bytes"
    rm -f "$QH_TEST_SERVER_ROOT/.faults"
done

# --- No length announced: the size cell shows "0" to the end, and it completes. ---
dir="$work/no-length"; installed "$dir"
printf '/qingheupdate/QingheCalc no-length\n' >"$QH_TEST_SERVER_ROOT/.faults"
ARGS="$(args -s 1.0.0.503)"
out="$(drive "$dir" 'wait 1000' 'click MainButton' 'wait 1500' 'click MainButton' 'wait 2000' 'cells DownloadList')"
first="$(echo "$out" | grep -P '^QingheCalc\t' | tail -1)"
case "$first" in "QingheCalc	0	下载完毕	"*) ;; *) fail "no length: $first" ;; esac
# Every part was completed: no empty folder of parts is left behind.
[ ! -e "$dir/update/part" ] || fail "an empty update/part folder was left after the download"
rm -f "$QH_TEST_SERVER_ROOT/.faults"

# --- Up to date: 确定 closes without asking. ---
dir="$work/current"; mkdir -p "$dir"
ARGS="$(args -s 1.0.0.506)"
out="$(drive "$dir" 'wait 1000' 'print Notes' 'print MainButton' 'click MainButton' 'wait 300' 'windows')"
echo "$out" | grep -qx 'Notes=恭喜!您当前使用的青禾计算器已是最新版本!' || fail "up to date: $out"
echo "$out" | grep -qx 'ended 0' || fail "确定 did not close: $out"

# --- Closing asks first while a stage can still run. ---
dir="$work/close"; installed "$dir"
ARGS="$(args -s 1.0.0.503)"
out="$(drive "$dir" 'wait 1000' 'click CaptionClose' 'wait 200' 'window 提示：' 'print BoxText' \
    'shot '"$work/confirm.png" 'click BoxButton2' 'wait 200' 'windows' \
    'click CaptionClose' 'wait 200' 'window 提示：' 'click BoxButton1' 'wait 200' 'windows')"
echo "$out" | grep -qx 'BoxText=确认退出更新吗?' || fail "confirmation text: $out"
[ "$(echo "$out" | grep -c '^青禾计算器升级程序 visible=1')" = 1 ] || fail "取消 kept the window: $out"
echo "$out" | grep -qx 'ended 0' || fail "确认 ended the updater: $out"

# --- Automatic: stages everything hidden, closes itself, installs nothing. ---
dir="$work/automatic"; installed "$dir"
ARGS="$(args -h 1.0.0.503)"
out="$(drive "$dir" 'windows' 'wait 3000' 'windows')"
echo "$out" | grep -q '^青禾计算器升级程序 visible=0' || fail "automatic window shown: $out"
echo "$out" | grep -qx 'ended 0' || fail "automatic mode did not end: $out"
[ "$(cat "$dir/QingheCalc")" = 'calculator 503' ] || fail "automatic mode installed"
grep -q 'St="1"' "$dir/update/config.xml" || fail "no state file after the automatic run"
for f in QingheCalc renew.ex_ 'skin\bg.png'; do
    cmp -s "$work/release/${f//\\//}" "$dir/update/$(hex "$f")" || fail "not staged: $f"
done

# --- Install mode: the staged update goes in, the calculator starts again. ---
ARGS="$(args -m 1.0.0.503)"
out="$(drive "$dir" 'started')"
for f in QingheCalc skin/bg.png renew.ex_ readme.txt; do
    cmp -s "$work/release/$f" "$dir/$f" || fail "-m installed $f"
done
echo "$out" | grep -qx "\"$dir\\\\QingheCalc\" [0-9]*" || fail "-m relaunch: $out"
[ ! -e "$dir/update/config.xml" ] || fail "-m left the state file"
# A second -m finds no state file: nothing happens.
out="$(drive "$dir" 'started')"
[ "$out" = 'ended 0' ] || fail "second -m: $out"

# --- Automatic and up to date: closes after renew.xml, fetches no list. ---
dir="$work/auto-current"; mkdir -p "$dir"
: >"$QH_TEST_SERVER_LOG"
ARGS="$(args -h 1.0.0.506)"
out="$(drive "$dir" 'wait 1500')"
echo "$out" | grep -qx 'ended 0' || fail "automatic, up to date: $out"
grep -q renewlist.xml "$QH_TEST_SERVER_LOG" && fail "the list was fetched while up to date"

# --- A server that is down. ---
dir="$work/down"; mkdir -p "$dir"
ARGS="$(args -s 1.0.0.503)"
out="$(QINGHE_UPDATE_URL=http://127.0.0.1:9/qingheupdate/ drive "$dir" 'wait 1000' 'print StatusLabel' 'print Notes' \
    'print MainButton' 'state MainButton')"
echo "$out" | grep -qx 'StatusLabel=本地版本:1.0.0.503    服务器版本:获取失败' || fail "down status: $out"
echo "$out" | grep -qx 'Notes=连接服务器失败!' || fail "down notes: $out"
echo "$out" | grep -qx 'MainButton=重新获取' || fail "down button: $out"

# --- Bad command lines start nothing. ---
for a in "-s 61 62" "-S 61 62 63" "-s 61 62 63 64"; do
    out="$(printf 'windows\n' | "$driver" --program-dir "$work/down" renew $a)"
    [ "$out" = 'ended 0' ] || fail "'$a' started something: $out"
done

# --- One updater at a time: a second one ends at once, even with -m. ---
dir="$work/single"; mkdir -p "$dir"
(printf 'wait 3000\n' | "$driver" --program-dir "$dir" renew $(args -s 1.0.0.506) >/dev/null) &
first=$!
sleep 1
out="$(printf 'windows\n' | "$driver" --program-dir "$dir" renew $(args -s 1.0.0.506))"
[ "$out" = 'ended 0' ] || fail "second updater: $out"
wait "$first"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
