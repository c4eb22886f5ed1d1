#!/bin/sh
# uidriver on the toolkit demo: reads its controls, clicks, prints texts and
# states, takes a shot, closes the window and reports the end; refuses a bad
# command and an unknown control, naming the line.
set -u
driver="$1"
shot="$(mktemp --suffix=.png)"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

out="$(printf 'print Message\nclick ClickMe\nclick ClickMe\nwait 100\nprint Message\nstate ClickMe\nshot %s\nclick CaptionClose\nwait 500\nprint Message\n' "$shot" |
       "$driver" toolkit-demo)"
status=$?
expected="Message=贷款计算器界面工具箱：欢迎使用
Message=已点击 2 次
ClickMe visible=1 enabled=1 checked=0 selected=0 selection=0 focused=1 x=130 y=150 w=100 h=32
ended 0"
[ "$out" = "$expected" ] || fail "unexpected output:
$out"
[ "$status" -eq 0 ] || fail "status $status"
[ "$(head -c 8 "$shot" | od -An -c | tr -d ' ')" = "211PNG\r\n032\n" ] || fail "the shot is not a PNG file"
rm -f "$shot"

err="$(printf 'windows\nfrobnicate\n' | "$driver" toolkit-demo 2>&1 >/dev/null)"
status=$?
[ "$status" -eq 2 ] || fail "a bad command gave status $status"
echo "$err" | grep -q "line 2: unknown command: frobnicate" || fail "no line named: $err"

err="$(printf 'click NoSuchControl\n' | "$driver" toolkit-demo 2>&1 >/dev/null)"
[ $? -eq 2 ] && echo "$err" | grep -q "line 1: no control named NoSuchControl" || fail "unknown control: $err"

[ "$failures" -eq 0 ] && echo "ok: uidriver drives the toolkit demo"
exit "$failures"
