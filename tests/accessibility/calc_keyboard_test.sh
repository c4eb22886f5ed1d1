#!/bin/bash
# The calculator worked with the keyboard alone, and read as a screen reader
# reads it (uidriver's tree): not one click. The start screen's tree is the
# committed one; Tab order; the housing worked example typed and computed
# with Enter, its figures read from the results window's tree equal
# qingheloan's; the combo box list by keys; every page by Ctrl+Tab; the
# about window by Ctrl+5 and Escape.
#   calc_keyboard_test.sh UIDRIVER QINGHELOAN TREE_FILE
set -u
driver="$1"
loan="$2"
expectedTree="$3"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QINGHE_UPDATE_URL=none
cp "$(dirname "$driver")/rules.xml" "$work/"
drive() { printf '%s\n' "$@" 'quit' | "$driver" --program-dir "$work" QingheCalc; }
# The tree without what depends on the screen: places and actions.
bare() { sed -E 's/ x=-?[0-9]+ y=-?[0-9]+ w=[0-9]+ h=[0-9]+//; s/ action=.*$//'; }
# The name of the object a "focus" line reports.
focusName() { sed -n 's/^focus [^ ]* [a-z ]* "\([^"]*\)".*/\1/p'; }

out="$(drive tree)"
diff <(echo "$out" | bare) "$expectedTree" >"$work/tree.diff" || fail "the start screen's tree differs:
$(cat "$work/tree.diff")"

# Tab stops once in a radio group, at its checked button; Shift+Tab goes back.
out="$(drive 'press Tab' focus 'press Tab' focus 'press Tab' focus 'press Shift+Tab' focus | focusName | tr '\n' '|')"
[ "$out" = "按额度|贷款金额|贷款金额|贷款金额|" ] || fail "Tab order: $out"

# The worked example: 100 万 over 20 years; Enter in the form computes, F6
# moves into the results window, whose figures are read with their labels.
out="$(drive 'press Tab' 'press Tab' 'write 100' 'press Tab' 'press Tab' 'write 20' 'press Enter' 'press F6' \
       focus tree 'press Escape' windows focus)"
read_block() { echo "$out" | grep "static text \"$1" | sed 's/.*static text "\([^"]*\)".*/\1/; s/\\r\\n/\n/g'; }
expected="$("$loan" housing --amount 100 --term 20 --rules "$work/rules.xml")"
actual="$(read_block 每月等额还款; echo; read_block 逐月递减还款)"
[ "$actual" = "$expected" ] || fail "the results read by a screen reader:
$actual
where qingheloan gives
$expected"
echo "$out" | grep -q '^focus PlanLink link "还款计划" states=focused' || fail "F6 does not reach the results window: $out"
echo "$out" | grep -q '^计算结果' && fail "Escape leaves the results window open: $out"
echo "$out" | tail -1 | grep -q '^focus TermEdit' || fail "the focus does not come back to the form: $out"

# The combo box by keys (年 is its second item): Alt+Down opens the list,
# Up moves, Enter picks; Escape closes a list without a change.
out="$(drive 'press Tab' 'press Tab' 'press Tab' 'press Tab' 'press Tab' 'press Alt+Down' 'state TermUnit' \
       'press Up' 'press Enter' 'state TermUnit' 'press Alt+Down' 'press Down' 'press Escape' 'state TermUnit')"
[ "$(echo "$out" | grep -o 'checked=[01] selected=[01] selection=[0-9]*' | tr '\n' '|')" = \
  "checked=1 selected=0 selection=2|checked=0 selected=0 selection=1|checked=0 selected=0 selection=1|" ] ||
    fail "the combo box by keys: $out"

# Every page: Ctrl+Tab walks the side menu (the plan slot opens a window
# and is passed over) and wraps; Ctrl+Shift+Tab walks back.
out="$(drive 'press Ctrl+Tab' 'state SideMenu[2]' 'press Ctrl+Tab' 'state SideMenu[3]' 'press Ctrl+Tab' \
       'state SideMenu[4]' 'press Ctrl+Tab' 'state SideMenu[5]' 'press Ctrl+Tab' 'state SideMenu[7]' \
       'press Ctrl+Tab' 'state SideMenu[1]' 'press Ctrl+Shift+Tab' 'state SideMenu[7]' 'press Ctrl+3' \
       'state TopTabs[3]' 'state SideMenu[4]')"
[ "$(echo "$out" | grep -c ' selected=1 ')" = 9 ] || fail "Ctrl+Tab through the pages: $out"

# The about window: Ctrl+5 opens it, Escape closes it.
out="$(drive 'press Ctrl+5' 'wait 300' windows 'press Escape' 'wait 600' windows)"
[ "$(echo "$out" | grep -c '^关于')" = 1 ] || fail "Ctrl+5 and Escape for the about window: $out"

[ "$failures" -eq 0 ] && echo "calc keyboard: all passed"
exit "$failures"
