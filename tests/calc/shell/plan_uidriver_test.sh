#!/bin/bash
# The plan window driven through uidriver: opened from the side menu, its
# schedule equals qingheloan plan's row for row, events are added, changed
# and removed through the event row and the event list, and a wrong input
# is named beside it with nothing computed from it.
#   plan_uidriver_test.sh UIDRIVER QINGHELOAN
set -u
driver="$1"
loan="$2"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QINGHE_UPDATE_URL=none
mkdir -p "$work/empty"

# Opens the plan window in an empty program folder (built-in rates) with
# 100 万 over 30 年 from 2026-01 at 4.9 %, then runs the commands given.
plan() {
    printf '%s\n' 'click SideMenu[6]' 'wait 100' 'window 还款计划' 'key PlanFirstMonth Ctrl+A' \
        'key PlanFirstMonth Delete' 'type PlanFirstMonth 2026-01' 'key PlanRate Ctrl+A' 'key PlanRate Delete' \
        'type PlanRate 4.9' "$@" 'quit' |
        "$driver" --program-dir "$work/empty" QingheCalc
}
# qingheloan's table as the list view's cells: tab-separated, the note whole.
table() {
    "$loan" plan --amount 100 --term 30 --first 2026-01 "$@" | sed -n '/^期数/,$p' | tail -n +2 |
        awk '{n = ""; for (i = 8; i <= NF; i++) n = n (i > 8 ? " " : "") $i;
              printf "%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", $1, $2, $3, $4, $5, $6, $7, n}'
}

# The schedule with a prepayment after installment 36 that shortens the
# term, added through the event row.
out="$(plan 'type PlanEventMonth 2028-12' 'type PlanEventValue 200000' 'click PlanAddEvent' 'cells PlanSchedule' \
       'print PlanSummary' 'cells PlanEvents')"
expected="$(table --rate 4.9 --prepay 2028-12:200000:缩短年限)"
actual="$(echo "$out" | grep -P '^\d+\t' | grep -v '^2028-12' )"
[ "$(echo "$actual" | wc -l)" = 249 ] || fail "249 rows: $(echo "$out" | head -5)"
[ "$actual" = "$expected" ] || fail "schedule differs from qingheloan plan:
$(diff <(echo "$actual") <(echo "$expected") | head -10)"
echo "$out" | grep -q '^PlanSummary=.*节省利息: 391,310.72 元' || fail "summary: $(echo "$out" | grep PlanSummary)"
echo "$out" | grep -qP '^2028-12\t提前还款\t200,000.00 元\t缩短年限$' || fail "event list: $out"

# Enter in the event row adds the event, as 添加 does; Enter elsewhere adds
# nothing.
out="$(plan 'type PlanEventMonth 2028-12' 'type PlanEventValue 200000' 'key PlanEventValue Enter' \
       'key PlanRate Enter' 'cells PlanEvents' 'print PlanSummary')"
[ "$(echo "$out" | grep -cP '^2028-12\t')" = 1 ] || fail "Enter adds one event: $out"
echo "$out" | grep -q '^PlanSummary=.*节省利息: 391,310.72 元' || fail "summary after Enter: $(echo "$out" | grep PlanSummary)"

# Changed to 减少月供 through the list, then removed with Delete: the plan
# is the loan without events again.
out="$(plan 'type PlanEventMonth 2028-12' 'type PlanEventValue 200000' 'click PlanAddEvent' 'click PlanEvents' \
       'choose PlanEventMode 1' 'click PlanChangeEvent' 'cells PlanEvents' 'print PlanSummary' \
       'key PlanEvents Delete' 'cells PlanEvents' 'print PlanSummary')"
echo "$out" | grep -qP '^2028-12\t提前还款\t200,000.00 元\t减少月供$' || fail "changed event: $out"
[ "$(echo "$out" | grep '^PlanSummary=' | tail -1)" = \
  'PlanSummary=首期还款: 5,307.27 元\r\n末期还款: 5,305.19 元\r\n利息总额: 910,615.12 元\r\n还款期数: 360 期, 至 2055-12\r\n' ] ||
    fail "after removal: $(echo "$out" | grep '^PlanSummary=')"

# A first month that is no month: named beside the field, nothing shown.
out="$(plan 'key PlanFirstMonth Ctrl+A' 'key PlanFirstMonth Delete' 'type PlanFirstMonth 2026-13' 'state PlanProblem' 'print PlanProblem' \
       'print PlanSummary' 'cells PlanSchedule')"
echo "$out" | grep -q '^PlanProblem visible=1 .* x=524 y=59' || fail "problem tip: $out"
echo "$out" | grep -q '^PlanProblem= 首次还款月份应为 YYYY-MM' || fail "problem text: $out"
echo "$out" | grep -q '^PlanSummary=$' || fail "summary of a wrong form: $out"
echo "$out" | grep -qP '^\d+\t' && fail "rows of a wrong form: $out"

# At scale 2 the tip stands at the same logical place, inside the window,
# and the window is drawn at twice its size.
out="$(printf '%s\n' 'click SideMenu[6]' 'wait 100' 'window 还款计划' 'key PlanFirstMonth Ctrl+A' 'key PlanFirstMonth Delete' \
       'type PlanFirstMonth 2026-13' 'state PlanProblem' "shot $work/plan2x.png" 'quit' |
       "$driver" --scale 2 --program-dir "$work/empty" QingheCalc)"
echo "$out" | grep -q '^PlanProblem visible=1 .* x=524 y=59' || fail "problem tip at scale 2: $out"
[ "$(od -An -j16 -N8 -tx1 "$work/plan2x.png" | tr -d ' \n')" = "0000088400000488" ] ||
    fail "the plan window at scale 2 is not 2180 x 1160: $(od -An -j16 -N8 -tx1 "$work/plan2x.png")"

# From the results window: the 还款计划 link carries the loan just computed
# (the housing page's 100 万 over 20 年 at 6.55 %; by area, 2 万 a ㎡ for
# 100 ㎡ with 3成 down, 1,400,000.00), and its first payment is the page's.
out="$(printf '%s\n' 'type AmountEdit 100' 'type TermEdit 20' 'click CalcButton' 'window 计算结果' 'click PlanLink' \
       'wait 100' 'window 还款计划' 'print PlanAmount' 'print PlanTerm' 'print PlanRate' 'print PlanSummary' 'quit' |
       "$driver" --program-dir "$work/empty" QingheCalc)"
echo "$out" | grep -qx 'PlanAmount=1000000.00' || fail "carried amount: $out"
echo "$out" | grep -qx 'PlanTerm=240' || fail "carried term: $out"
echo "$out" | grep -q '^PlanSummary=首期还款: 7,485.20 元' || fail "carried plan: $out"
out="$(printf '%s\n' 'click ModeByArea' 'type AmountEdit 2' 'type TermEdit 20' 'type AreaEdit 100' 'choose RateKind 1' \
       'click CalcButton' 'window 计算结果' 'click PlanLink' 'wait 100' 'window 还款计划' 'print PlanAmount' \
       'print PlanRate' 'quit' | "$driver" --program-dir "$work/empty" QingheCalc)"
echo "$out" | grep -qx 'PlanAmount=1400000.00' || fail "by-area amount: $out"
echo "$out" | grep -qx 'PlanRate=6.6' || fail "a monthly rate of 0.55 as an annual 6.6: $out"

# The combined page's link carries both parts; a prepayment goes to the
# commercial part. The summary and the export are qingheloan plan's with
# --fund-amount and --fund-rate, the CSV byte for byte.
mkdir -p "$work/combined"
out="$(printf '%s\n' 'click SideMenu[4]' 'type MixTermEdit 20' 'type AmountEdit 50' 'type CommAmountEdit 50' \
       'click CalcButton' 'window 计算结果' 'click PlanLink' 'wait 100' 'window 还款计划' 'key PlanFirstMonth Ctrl+A' \
       'key PlanFirstMonth Delete' 'type PlanFirstMonth 2026-01' 'print PlanSummary' 'type PlanEventMonth 2028-12' \
       'type PlanEventValue 200000' 'click PlanAddEvent' 'print PlanSummary' 'click PlanExport' 'print PlanStatus' \
       'quit' | HOME="$work/combined" XDG_CONFIG_HOME="$work/combined" \
       "$driver" --program-dir "$work/empty" QingheCalc)"
echo "$out" | grep -q '^PlanSummary=首期还款: 6,905.85 元' || fail "combined plan: $out"
combined=(plan --amount 500000 --amount-unit 元 --fund-amount 500000 --fund-amount-unit 元 --fund-rate 4.5
          --term 240 --term-unit 月 --first 2026-01 --rate 6.55 --prepay 2028-12:200000:缩短年限)
summary="$("$loan" "${combined[@]}" | sed '/^$/q' | sed '/^$/d' | tr '\n' '|' | sed 's/|/\\r\\n/g')"
echo "$summary" | grep -q '商贷缩短: 116 期' || fail "qingheloan's combined summary: $summary"
[ "$(echo "$out" | grep '^PlanSummary=' | tail -1)" = "PlanSummary=$summary" ] ||
    fail "combined summary differs: $(echo "$out" | grep '^PlanSummary=' | tail -1) vs $summary"
"$loan" "${combined[@]}" --csv >"$work/combined.csv"
cmp -s "$work/combined/还款计划.csv" "$work/combined.csv" || fail "combined CSV differs: $(diff <(head -12 "$work/combined/还款计划.csv") <(head -12 "$work/combined.csv"))"

# Export without a save dialog (the headless host has none): into the
# documents folder that user-dirs.dirs names, made when missing, under a
# free name; the file is qingheloan plan --csv's, byte for byte.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
echo 'XDG_DOCUMENTS_DIR="$HOME/文档"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
out="$(plan 'type PlanEventMonth 2028-12' 'type PlanEventValue 200000' 'click PlanAddEvent' 'click PlanExport' \
       'print PlanStatus' 'click PlanExport' 'print PlanStatus')"
echo "$out" | grep -qx "PlanStatus=已导出: $HOME/文档/还款计划.csv" || fail "export status: $out"
echo "$out" | grep -qx "PlanStatus=已导出: $HOME/文档/还款计划(2).csv" || fail "second export: $out"
"$loan" plan --amount 100 --term 30 --first 2026-01 --rate 4.9 --prepay 2028-12:200000:缩短年限 --csv >"$work/expected.csv"
cmp -s "$HOME/文档/还款计划.csv" "$work/expected.csv" || fail "exported CSV differs from qingheloan plan --csv"

# A documents folder that cannot be made (a file stands in its way): the
# failure is said, and no file is left.
echo 'XDG_DOCUMENTS_DIR="$HOME/blocked/文档"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
echo file >"$HOME/blocked"
out="$(plan 'click PlanExport' 'print PlanStatus')"
echo "$out" | grep -qx "PlanStatus=导出失败, 未能写入: $HOME/blocked/文档/还款计划.csv" || fail "failed export: $out"
[ -z "$(find "$HOME" -name '*.csv*' -newer "$HOME/blocked")" ] || fail "a failed export left a file"

# 方案A kept, then the rate changed: both plans side by side with their
# differences; 清除方案A goes back to the summary.
out="$(plan 'click PlanKeepA' 'key PlanRate Ctrl+A' 'key PlanRate Delete' 'type PlanRate 4.2' 'print PlanCompareA' \
       'print PlanCompareCurrent' 'print PlanCompareDifference' 'state PlanSummary' 'click PlanClearA' \
       'state PlanSummary' 'state PlanCompareA')"
echo "$out" | grep -qx 'PlanCompareA=方案A\\r\\n5,307.27 元\\r\\n5,305.19 元\\r\\n910,615.12 元\\r\\n360 期\\r\\n2055-12' ||
    fail "plan A: $out"
echo "$out" | grep -q '^PlanCompareDifference=差额\\r\\n-' || fail "differences: $out"
[ "$(echo "$out" | grep -c '^PlanSummary visible=0')" = 1 ] && [ "$(echo "$out" | grep -c '^PlanSummary visible=1')" = 1 ] ||
    fail "summary while comparing: $out"
echo "$out" | grep -q '^PlanCompareA visible=0' || fail "comparison after 清除方案A: $out"

[ "$failures" = 0 ] && echo "plan window: all checks passed"
exit "$failures"
