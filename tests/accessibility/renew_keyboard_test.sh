#!/bin/bash
# The updater worked with the keyboard alone against a real server on
# 127.0.0.1 (started around this script by tests/support/http_test_server.py),
# and read as a screen reader reads it: from the version check through the
# comparison and the download to 完成, which installs; not one click.
#   renew_keyboard_test.sh UIDRIVER QINGHE_PUBLISH UNREACHABLE_TREE
set -u
driver="$1"
publish="$2"
unreachableTree="$3"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/"
export QINGHE_SITE_URL="http://127.0.0.1:9/site"
unset BROWSER
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

mkdir -p "$work/release" "$work/dir"
printf 'calculator 506' >"$work/release/QingheCalc"
printf 'read me' >"$work/release/readme.txt"
printf '新增键盘操作。\n' >"$work/notes.txt"
"$publish" --release "$work/release" --version 1.0.0.506 --notes "$work/notes.txt" \
    --out "$QH_TEST_SERVER_ROOT/qingheupdate" >/dev/null || fail "publish"
printf 'calculator 503' >"$work/dir/QingheCalc"
printf 'read me' >"$work/dir/readme.txt"

# The main button has the focus at every step, so Enter goes on; once the
# download is done the focus is on 完成.
out="$(printf '%s\n' 'wait 1000' focus 'press Enter' 'wait 1500' focus tree 'press Enter' 'wait 2000' \
       focus 'press Enter' 'wait 500' started quit |
       "$driver" --program-dir "$work/dir" renew -s "$(hex QingheCalc)" "$(hex 1.0.0.503)" "$(hex 4321)")"
focused="$(echo "$out" | sed -n 's/^focus \([^ ]*\) [a-z ]* "\([^"]*\)".*/\1 \2/p' | tr '\n' '|')"
[ "$focused" = "MainButton 下一步|MainButton 下一步|CancelButton 完成|" ] || fail "focus through the phases: $focused
$out"
# The comparison's list as a reader finds it: a list whose rows are items.
echo "$out" | grep -q '^  list ' || fail "no list in the tree: $out"
echo "$out" | grep -qP '^    list item "QingheCalc"' || fail "the list's rows are no items: $out"
echo "$out" | grep -q '^  static text "文件效验完毕,请点击 下一步 开始下载安装更新."' || fail "status in the tree: $out"
cmp -s "$work/release/QingheCalc" "$work/dir/QingheCalc" || fail "完成 by keyboard did not install: $out"
echo "$out" | grep -qx "\"$work/dir\\\\QingheCalc\" [0-9]*" || fail "no relaunch: $out"

# A server that does not answer: the window as a reader finds it is the
# committed tree, which the Windows client reads too (renew_msaa_wine).
mkdir -p "$work/down"
out="$(printf '%s\n' 'wait 1500' tree quit | QINGHE_UPDATE_URL=http://127.0.0.1:9/qingheupdate/ \
       "$driver" --program-dir "$work/down" renew -s "$(hex QingheCalc)" "$(hex 1.0.0.503)" "$(hex 4321)")"
diff <(echo "$out" | sed -E 's/ x=-?[0-9]+ y=-?[0-9]+ w=[0-9]+ h=[0-9]+//; s/ action=.*$//') "$unreachableTree" \
    >"$work/tree.diff" || fail "the unreachable server's tree differs:
$(cat "$work/tree.diff")"

[ "$failures" -eq 0 ] && echo "renew keyboard: all passed"
exit "$failures"
