#!/bin/sh
# Screenshots of the calculator's pages, of its results window and of its
# two help tips for docs/, drawn by the headless host with cairo through
# uidriver, with the worked examples typed in. The program folder holds the
# shipped rules document, as an installation does.
#   scripts/calc-screenshots.sh [BIN_DIR] [OUT_DIR]
set -eu
# No update server: nothing here reaches the network or starts the updater.
export QINGHE_UPDATE_URL=none
bin="${1:-build/linux/bin}"
out="${2:-docs}"
programDir="$(mktemp -d)"
trap 'rm -rf "$programDir"' EXIT
cp "$bin/rules.xml" "$programDir/"
drive() { printf '%s\n' "$@" 'quit' | "$bin/uidriver" --program-dir "$programDir" QingheCalc >/dev/null; }

drive 'click ModeByArea' 'type AmountEdit 2' 'type TermEdit 20' 'type AreaEdit 100' 'click CalcButton' \
      "shot $out/calc-housing-linux.png" 'window 计算结果' "shot $out/calc-results-linux.png"
# The results window's two help tips, each while the mouse rests on its icon,
# side by side.
for tip in InstallmentHelp PrincipalHelp; do
    drive 'type AmountEdit 100' 'type TermEdit 20' 'click CalcButton' 'window 计算结果' "hover $tip" 'wait 300' \
          "shot $out/calc-tip-$tip-linux.png"
done
convert "$out/calc-tip-InstallmentHelp-linux.png" "$out/calc-tip-PrincipalHelp-linux.png" +append \
        "$out/calc-results-tips-linux.png"
rm -f "$out/calc-tip-InstallmentHelp-linux.png" "$out/calc-tip-PrincipalHelp-linux.png"
drive 'click SideMenu[2]' 'click CertUnder5' 'type TaxAreaEdit 120' 'type TaxPriceEdit 200' 'click CalcButton' \
      "shot $out/calc-tax-linux.png" 'window 计算结果' "shot $out/calc-results-tax-linux.png"
# 税费(现行): a second home of 150 ㎡ sold for 300 万 within 2 years, bought for 200 万.
drive 'click SideMenu[7]' 'type NowPriceEdit 300' 'type NowAreaEdit 150' 'type NowOriginalEdit 200' \
      'click NowBuyerSecond' 'click NowHeldUnder2' 'click NowNotOnlyHome' 'click CalcButton' \
      "shot $out/calc-tax-now-linux.png" 'window 计算结果' "shot $out/calc-results-tax-now-linux.png"
# 还款计划: 100 万 over 30 年 from 2026-01 at LPR − 45 BP, repriced each
# January, with a prepayment in 2028-12 and an LPR forecast of 3.3 from
# 2030-01; then the same kept as 方案A against 等额本金.
plan() {
    drive 'click SideMenu[6]' 'wait 100' 'window 还款计划' 'key PlanFirstMonth Ctrl+A' 'key PlanFirstMonth Delete' \
          'type PlanFirstMonth 2026-01' 'click PlanLprRate' 'type PlanSpread -45' 'type PlanEventMonth 2028-12' \
          'type PlanEventValue 200000' 'click PlanAddEvent' 'key PlanEventMonth Ctrl+A' 'key PlanEventMonth Delete' \
          'type PlanEventMonth 2030-01' 'choose PlanEventKind 2' 'key PlanEventValue Ctrl+A' \
          'key PlanEventValue Delete' 'type PlanEventValue 3.3' 'click PlanAddEvent' "$@"
}
# (The schedule scrolled to the prepayment's month.)
plan 'wheel PlanSchedule -9' 'wait 300' "shot $out/calc-plan-linux.png"
plan 'click PlanKeepA' 'choose PlanMethod 2' 'wait 300' "shot $out/calc-plan-compare-linux.png"
# A combined loan from the combined page's results: 50 万 of provident fund
# and 150 万 commercial over 20 年, 20 万 prepaid on the commercial part.
drive 'click SideMenu[4]' 'type MixTermEdit 20' 'type AmountEdit 50' 'type CommAmountEdit 150' 'click CalcButton' \
      'window 计算结果' 'click PlanLink' 'wait 100' 'window 还款计划' 'key PlanFirstMonth Ctrl+A' \
      'key PlanFirstMonth Delete' 'type PlanFirstMonth 2026-01' 'type PlanEventMonth 2028-12' \
      'type PlanEventValue 200000' 'click PlanAddEvent' 'wheel PlanSchedule -9' 'wait 300' \
      "shot $out/calc-plan-combined-linux.png"
drive 'click TopTabs[2]' 'type CarPriceEdit 15' 'type CarTermEdit 3' "shot $out/calc-car-linux.png"
drive 'click TopTabs[3]' 'type MixTermEdit 20' 'type AmountEdit 50' 'type CommAmountEdit 50' \
      "shot $out/calc-combined-linux.png"
drive 'click TopTabs[4]' 'choose LoanPurpose 3' 'type WantAmountEdit 100' 'type WantTermEdit 20' \
      "shot $out/calc-search-linux.png"
drive 'wait 200' 'click TopTabs[5]' 'wait 300' 'window 关于青禾...' "shot $out/calc-about-linux.png"
# The main window with its results window docked at its right edge, as the
# user sees them: the results window reaches 9 px under the main window,
# which stays in front.
dock() { convert -size 811x440 xc:none "$2" -geometry +591+0 -composite "$1" -geometry +0+0 -composite "$3"; }
dock "$out/calc-housing-linux.png" "$out/calc-results-linux.png" "$out/calc-housing-results-linux.png"
dock "$out/calc-tax-linux.png" "$out/calc-results-tax-linux.png" "$out/calc-tax-results-linux.png"
dock "$out/calc-tax-now-linux.png" "$out/calc-results-tax-now-linux.png" "$out/calc-tax-now-results-linux.png"
rm -f "$out/calc-results-linux.png" "$out/calc-results-tax-linux.png" "$out/calc-housing-linux.png" "$out/calc-tax-linux.png" \
      "$out/calc-tax-now-linux.png" "$out/calc-results-tax-now-linux.png"
echo "wrote $out/calc-*-linux.png"
