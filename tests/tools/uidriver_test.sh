#!/bin/sh
# uidriver on the toolkit demo: reads its controls, clicks, prints texts and
# states, takes a shot, closes the window and reports the end; refuses a bad
# command and an unknown control, naming the line. On the gallery: chooses a
# combo box item and reads the selection of every kind that has one.
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

# The gallery: a combo box item chosen through its list; the selection of
# tabs, side entries and list rows after clicks; a tip's text.
out="$(printf '%s\n' 'choose Term 1' 'print Term' 'choose Term 4' 'state Term' 'click Tabs[2]' 'state Tabs[1]' \
       'state Tabs[2]' 'click Sides[3]' 'state Sides[1]' 'state Sides[3]' 'state Schedule' 'click Schedule' \
       'state Schedule' 'print Tip' 'quit' | "$driver" toolkit-demo --gallery)"
status=$?
expected="Term=5 年
Term visible=1 enabled=1 checked=0 selected=0 selection=4 focused=1 x=250 y=220 w=120 h=24
Tabs[1] visible=1 enabled=1 checked=0 selected=0 selection=0 focused=0 x=160 y=36 w=70 h=60
Tabs[2] visible=1 enabled=1 checked=0 selected=1 selection=0 focused=1 x=234 y=36 w=70 h=60
Sides[1] visible=1 enabled=1 checked=0 selected=0 selection=0 focused=0 x=14 y=110 w=120 h=28
Sides[3] visible=1 enabled=1 checked=0 selected=1 selection=0 focused=1 x=14 y=178 w=120 h=28
Schedule visible=1 enabled=1 checked=0 selected=0 selection=0 focused=0 x=390 y=120 w=190 h=200
Schedule visible=1 enabled=1 checked=0 selected=0 selection=4 focused=1 x=390 y=120 w=190 h=200
Tip=等额本息: 每月还款额相同。\\n等额本金: 每月本金相同。"
[ "$out" = "$expected" ] || fail "unexpected gallery output:
$out"
[ "$status" -eq 0 ] || fail "gallery status $status"

err="$(printf 'choose Term 2\nchoose Term 5\n' | "$driver" toolkit-demo --gallery 2>&1 >/dev/null)"
[ $? -eq 2 ] && echo "$err" | grep -q "line 2: Term has no item 5" || fail "an item outside the list: $err"

# The folder the program takes as its own must be one.
err="$(printf 'quit\n' | "$driver" --program-dir /nonexistent/qinghe toolkit-demo 2>&1 >/dev/null)"
[ $? -eq 2 ] && echo "$err" | grep -q "not a usable folder" || fail "a missing program folder: $err"
dir="$(mktemp -d)"
out="$(printf 'print Message\nquit\n' | "$driver" --program-dir "$dir" toolkit-demo)"
[ $? -eq 0 ] && [ -n "$out" ] || fail "the demo with --program-dir: $out"
rmdir "$dir"

[ "$failures" -eq 0 ] && echo "ok: uidriver drives the toolkit demo"
exit "$failures"
