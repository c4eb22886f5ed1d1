#!/bin/bash
# QingheCalc driven through uidriver: the worked examples of every page give
# the same figures as qingheloan, byte for byte; navigation, the housing
# page's radio actions, Clear, the results window's strip and help tips; and
# the hand-off to the updater against real files in a program folder.
#   calc_uidriver_test.sh UIDRIVER QINGHELOAN
set -u
driver="$1"
loan="$2"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# No update server: the background version check has nothing to ask and
# starts no updater (calc_version_check_test.sh covers it).
export QINGHE_UPDATE_URL=none

# Runs the calculator in a program folder (empty unless programDir names
# another) with the commands given as arguments, one a line.
drive() { printf '%s\n' "$@" | "$driver" --program-dir "${programDir:-$work/empty}" QingheCalc; }
mkdir -p "$work/empty" "$work/rules" "$work/bad-rules"
cp "$(dirname "$driver")/rules.xml" "$work/rules/"

# The value lines of a label printed by the driver, one a line.
values() { grep "^$1=" | sed "s/^$1=//; s/\\\\r\\\\n\\\\r\\\\n/\n/g"; }
# qingheloan's figures, one a line: the installment lines then the
# principal lines (or the seven tax lines).
figures() { "$loan" "$@" | sed -n 's/^[^:]*: //p'; }

# Calculates on the page and compares the results window's figures with
# qingheloan's for the same inputs. tax-now runs both under the shipped
# rules document.
#   check NAME "driver commands ..." -- qingheloan arguments ...
check() {
    local name="$1"; shift
    local commands=()
    while [ "$1" != "--" ]; do commands+=("$1"); shift; done
    shift
    local programDir="$work/empty"
    [ "$1" = tax-now ] && programDir="$work/rules" && set -- "$@" --rules "$work/rules/rules.xml"
    local out
    out="$(drive "${commands[@]}" 'click CalcButton' 'window 计算结果' 'print InstallmentValues' \
           'print PrincipalValues' 'print TaxValues' 'print CurrentTaxValues' 'quit')"
    local expected actual
    expected="$(figures "$@")"
    case "$1" in
        tax) actual="$(echo "$out" | values TaxValues)" ;;
        tax-now) actual="$(echo "$out" | values CurrentTaxValues)" ;;
        *) actual="$(echo "$out" | values InstallmentValues; echo "$out" | values PrincipalValues)" ;;
    esac
    [ -n "$expected" ] && [ "$actual" = "$expected" ] || fail "$name: the results window shows
$actual
where qingheloan gives
$expected"
}

check "housing by area" 'click ModeByArea' 'type AmountEdit 2' 'type TermEdit 20' 'type AreaEdit 100' -- \
    housing --by-area --area 100 --down 3成 --amount 2 --term 20
check "housing by amount" 'type AmountEdit 12.345' 'type TermEdit 10' -- housing --amount 12.345 --term 10
check "housing provident fund, monthly rate" 'click LoanFund' 'choose RateKind 1' 'type AmountEdit 60' \
    'type TermEdit 240' 'choose TermUnit 1' -- \
    housing --loan 公积金 --rate 0.38 --rate-kind 月利率 --amount 60 --term 240 --term-unit 月
check "combined" 'click SideMenu[4]' 'type MixTermEdit 20' 'type AmountEdit 50' 'type CommAmountEdit 50' -- \
    combined --term 20 --fund-amount 50 --fund-rate 4.5 --comm-amount 50 --comm-rate 6.55
check "combined, provident fund only" 'click TopTabs[3]' 'type MixTermEdit 10' 'type AmountEdit 30' -- \
    combined --term 10 --fund-amount 30 --fund-rate 4.5 --comm-amount 0 --comm-rate 6.55
check "car" 'click TopTabs[2]' 'type CarPriceEdit 15' 'type CarTermEdit 3' -- car --price 15 --term 3 --down 3成
check "car, seven seats, 9成" 'click TopTabs[2]' 'click SeatsOver6' 'type CarPriceEdit 15' 'type CarTermEdit 3' \
    'choose CarDownPayment 8' -- car --price 15 --term 3 --down 9成
check "tax, ordinary, over 5 years" 'click SideMenu[2]' 'type TaxAreaEdit 89' 'type TaxPriceEdit 100' -- \
    tax --area 89 --price 100
check "tax, ordinary, under 5 years" 'click SideMenu[2]' 'click CertUnder5' 'type TaxAreaEdit 120' \
    'type TaxPriceEdit 200' -- tax --cert-under5 --area 120 --price 200
check "tax, non-ordinary" 'click SideMenu[2]' 'click HouseNonOrdinary' 'click CertUnder5' 'type TaxPriceEdit 100' -- \
    tax --non-ordinary --cert-under5 --area 0 --price 100
check "tax, exactly 90" 'click SideMenu[2]' 'type TaxAreaEdit 90' 'type TaxPriceEdit 100' -- tax --area 90 --price 100
# The current-law page: its defaults (首套, 满5年, the only home, 市区); a
# second home held under 2 years with the original price given in 元 while
# the price is in 万; 满2年 in a county town; and inputs typed again after
# 清空 and a unit changed back and forth.
check "tax now, defaults" 'click SideMenu[7]' 'type NowPriceEdit 300' 'type NowAreaEdit 120' -- \
    tax-now --price 300 --area 120 --buyer 首套 --held 满5年 --only-home 是
check "tax now, second home, original price" 'click SideMenu[7]' 'type NowPriceEdit 300' 'type NowAreaEdit 150' \
    'click NowBuyerSecond' 'click NowHeldUnder2' 'click NowNotOnlyHome' 'type NowOriginalEdit 2000000' \
    'choose NowOriginalUnit 1' -- \
    tax-now --price 300 --area 150 --buyer 二套 --held 未满2年 --only-home 否 --original 200
check "tax now, county town" 'click SideMenu[7]' 'click NowHeld2' 'choose NowLocation 2' 'click NowBuyerThird' \
    'type NowPriceEdit 1' 'type NowAreaEdit 60' 'click ClearButton' 'choose NowPriceUnit 1' 'choose NowPriceUnit 4' \
    'type NowPriceEdit 185.5' 'type NowAreaEdit 88' -- \
    tax-now --price 185.5 --area 88 --buyer 三套及以上 --held 满2年 --only-home 是 --location 县城、镇

# The worked figures themselves, so that both sides cannot drift together.
out="$(drive 'click ModeByArea' 'type AmountEdit 2' 'type TermEdit 20' 'type AreaEdit 100' 'click CalcButton' \
       'window 计算结果' 'print InstallmentValues' 'quit')"
echo "$out" | values InstallmentValues | head -1 | grep -qx "1,400,000.00 元" || fail "by area: $out"
out="$(drive 'click SideMenu[4]' 'type MixTermEdit 20' 'type AmountEdit 50' 'type CommAmountEdit 50' \
       'click CalcButton' 'window 计算结果' 'print PrincipalValues' 'quit')"
[ "$(echo "$out" | values PrincipalValues | tr '\n' '|')" = \
  "1,000,000.00 元|8,770.83 元|19.18 元|554,802.08 元|1,554,802.08 元|" ] || fail "combined: $out"

# Start state and the housing page's radio actions.
out="$(drive 'print RateEdit' 'print AmountUnit' 'print TermUnit' 'print RateKind' 'print RateOption' \
       'state LoanCommercial' 'state HelpIcon' 'state ResultsStrip' 'state TopTabs[1]' 'state SideMenu[1]' \
       'state AreaEdit' 'quit')"
expected='RateEdit=6.55
AmountUnit=万
TermUnit=年
RateKind=年利率
RateOption=最新基准利率'
[ "$(echo "$out" | head -5)" = "$expected" ] || fail "start state: $out"
echo "$out" | grep -q '^LoanCommercial visible=1 enabled=1 checked=1' || fail "商贷 at start: $out"
echo "$out" | grep -q '^HelpIcon visible=0' || fail "help icon at start: $out"
echo "$out" | grep -q '^ResultsStrip visible=1' || fail "strip at start: $out"
echo "$out" | grep -q '^TopTabs\[1\] visible=1 enabled=1 checked=0 selected=1' || fail "tab 1 at start: $out"
echo "$out" | grep -q '^SideMenu\[1\] visible=1 enabled=1 checked=0 selected=1' || fail "menu 1 at start: $out"
echo "$out" | grep -q '^AreaEdit visible=0' || fail "by-area rows at start: $out"

# With the shipped rules document in the program folder the housing page
# starts at the current LPR, and 100 万 over 20 年 costs what it costs today;
# a document that is refused leaves the built-in rate (reported once).
out="$(printf '%s\n' 'print RateEdit' 'print RateOption' 'type AmountEdit 100' 'type TermEdit 20' 'click CalcButton' \
       'window 计算结果' 'print InstallmentValues' 'quit' | "$driver" --program-dir "$work/rules" QingheCalc)"
expected='RateEdit=3.5
RateOption=LPR 3.5%'
[ "$(echo "$out" | head -2)" = "$expected" ] || fail "start under the rules document: $out"
[ "$(echo "$out" | values InstallmentValues | sed -n 2p)" = "5,799.60 元" ] || fail "LPR payment: $out"
# (standard output only: a sanitizer build reports on standard error)
about() { printf '%s\n' 'click TopTabs[5]' 'wait 300' 'window 关于青禾...' 'print AboutRulesEdition' 'quit' |
    "$driver" --program-dir "$1" QingheCalc 2>/dev/null; }
[ "$(about "$work/rules")" = "AboutRulesEdition=利率与税费依据: 2026-01-01 版" ] || fail "edition: $(about "$work/rules")"
about "$work/empty" | grep -q "2026-01-01" && fail "an edition without a document: $(about "$work/empty")"
sed 's/Rate="3"/Rate="300"/' "$work/rules/rules.xml" >"$work/bad-rules/rules.xml"
out="$(printf '%s\n' 'print RateEdit' 'quit' | "$driver" --program-dir "$work/bad-rules" QingheCalc 2>"$work/bad-rules.err")"
[ "$out" = "RateEdit=6.55" ] || fail "start under a refused document: $out"
[ "$(grep -c 'rules.xml: .*Rate' "$work/bad-rules.err")" = 1 ] || fail "refusal report: $(cat "$work/bad-rules.err")"
# The page 税费(现行) has no rates to go on without a document: its entry is
# not there at all.
for dir in empty bad-rules; do
    programDir="$work/$dir" drive 'state SideMenu[7]' 'quit' 2>&1 | grep -q 'no control named SideMenu\[7\]' ||
        fail "current-law page offered in $dir"
done

out="$(drive 'click ModeByArea' 'print DownPayment' 'click SecondHome' 'print DownPayment' 'click FirstHome' \
       'print DownPayment' 'state HelpIcon' 'state CaptionLabel' 'state Separator' 'state DescriptionLabel' \
       'hover HelpIcon' 'state HelpPopup' 'print HelpPopup' 'leave HelpIcon' 'state HelpPopup' 'quit')"
expected='DownPayment=3成
DownPayment=6成
DownPayment=3成'
[ "$(echo "$out" | head -3)" = "$expected" ] || fail "home type: $out"
echo "$out" | grep -q '^HelpIcon visible=1 .* x=355 y=304' || fail "help icon by area: $out"
echo "$out" | grep -q '^CaptionLabel .* h=210$' || fail "captions by area: $out"
echo "$out" | grep -q '^Separator .* y=330 ' || fail "separator by area: $out"
echo "$out" | grep -q '^DescriptionLabel .* y=338 ' || fail "description by area: $out"
[ "$(echo "$out" | grep -c '^HelpPopup visible=1')" -eq 1 ] && [ "$(echo "$out" | grep -c '^HelpPopup visible=0')" -eq 1 ] ||
    fail "help pop-up on hover: $out"
echo "$out" | grep -q '^HelpPopup= 二套房界定标准：' || fail "second-home rules: $out"

out="$(drive 'type RateEdit 5.88' 'click ModeByArea' 'print RateEdit' 'print RateOption' 'choose RateKind 1' \
       'click LoanFund' 'print RateEdit' 'print RateOption' 'click LoanCommercial' 'print RateEdit' 'quit')"
expected='RateEdit=6.55
RateOption=最新基准利率
RateEdit=0.38
RateOption=5-30年
RateEdit=0.55'
[ "$out" = "$expected" ] || fail "rate resets: $out"

# Clear: every box emptied, the rate options applied again; radio buttons
# and list selections stay.
out="$(drive 'click ModeByArea' 'click SecondHome' 'choose RateKind 1' 'type RateEdit 9' 'type AmountEdit 3' \
       'click ClearButton' 'print RateEdit' 'print AmountEdit' 'print DownPayment' 'print RateKind' \
       'state SecondHome' 'quit')"
expected='RateEdit=0.55
AmountEdit=
DownPayment=6成
RateKind=月利率'
[ "$(echo "$out" | head -4)" = "$expected" ] && echo "$out" | grep -q '^SecondHome .*checked=1' ||
    fail "clear: $out"

# Navigation: the tax page lights tab 1 and shows its help icon; the loan
# search closes the results window, hides the strip and disables Calculate;
# leaving it brings both back. The highlighted tab does nothing.
out="$(drive 'click SideMenu[2]' 'state TopTabs[1]' 'state HelpIcon' 'state TaxTable' 'hover HelpIcon' \
       'print HelpPopup' 'click CalcButton' 'click TopTabs[4]' 'wait 100' 'windows' 'state ResultsStrip' \
       'state CalcButton' 'state SideMenu[5]' 'click TopTabs[4]' 'state LoanPurpose' 'click SideMenu[1]' \
       'state ResultsStrip' 'state CalcButton' 'state TopTabs[1]' 'quit')"
echo "$out" | grep -q '^TopTabs\[1\] visible=1 enabled=1 checked=0 selected=1' || fail "tax page tab: $out"
echo "$out" | grep -q '^HelpIcon visible=1 .* x=385 y=113' || fail "tax help icon: $out"
echo "$out" | grep -q '^TaxTable visible=1' || fail "tax table: $out"
echo "$out" | grep -q '^HelpPopup= 1、住宅小区建筑容积率' || fail "ordinary-housing rules: $out"
echo "$out" | grep -q '^计算结果' && fail "the results window stayed open on the loan search: $out"
[ "$(echo "$out" | grep -c '^ResultsStrip visible=0')" -eq 1 ] || fail "strip on the loan search: $out"
[ "$(echo "$out" | grep -c '^CalcButton visible=1 enabled=0')" -eq 1 ] || fail "calculate on the loan search: $out"
echo "$out" | grep -q '^LoanPurpose visible=1' || fail "the highlighted tab changed the page: $out"
[ "$(echo "$out" | grep -c '^CalcButton visible=1 enabled=1')" -eq 1 ] || fail "calculate after the search: $out"

# The results window: the tax kind and back, the strip closing and
# reopening it empty, and its help tips.
out="$(drive 'click SideMenu[2]' 'type TaxPriceEdit 100' 'click CalcButton' 'window 计算结果' 'state TaxValues' \
       'state InstallmentValues' 'state InstallmentHelp' 'window 青禾计算器' 'click SideMenu[1]' 'type AmountEdit 10' \
       'type TermEdit 5' 'click CalcButton' 'window 计算结果' 'state TaxValues' 'state InstallmentValues' \
       'hover InstallmentHelp' 'state ResultsTip' 'print ResultsTip' 'leave InstallmentHelp' 'state ResultsTip' \
       'window 青禾计算器' 'click ResultsStrip' 'wait 50' 'windows' 'click ResultsStrip' 'window 计算结果' \
       'print InstallmentValues' 'windows' 'quit')"
echo "$out" | sed -n 1p | grep -q '^TaxValues visible=1' || fail "tax values shown: $out"
echo "$out" | sed -n 2p | grep -q '^InstallmentValues visible=0' || fail "loan values hidden on tax: $out"
echo "$out" | sed -n 3p | grep -q '^InstallmentHelp visible=0' || fail "help icon hidden on tax: $out"
echo "$out" | sed -n 4p | grep -q '^TaxValues visible=0' || fail "tax values hidden again: $out"
echo "$out" | sed -n 5p | grep -q '^InstallmentValues visible=1' || fail "loan values shown again: $out"
echo "$out" | sed -n 6p | grep -q '^ResultsTip visible=1' || fail "tip on hover: $out"
echo "$out" | sed -n 7p | grep -q '^ResultsTip= 每月等额还款即等额本息还款法' || fail "tip text: $out"
echo "$out" | sed -n 8p | grep -q '^ResultsTip visible=0' || fail "tip hidden on leave: $out"
[ "$(echo "$out" | grep -c '^计算结果 visible=1')" -eq 1 ] || fail "strip close and reopen: $out"
echo "$out" | grep -qx 'InstallmentValues=' || fail "the reopened window is not empty: $out"
echo "$out" | grep -q '^计算结果 visible=1 x=931 y=160 w=220 h=440' || fail "docked at right - 9: $out"

# The loan search: the amount is asked for first, then the term; the address
# of each worked example goes to the browser (xdg-open without $BROWSER), as
# does the banner's.
search() { printf '%s\n' "$@" 'started' 'quit' |
    env -u BROWSER QINGHE_SITE_URL=http://127.0.0.1:9/site "$driver" --program-dir "$work/empty" QingheCalc; }
out="$(search 'click TopTabs[4]' 'click SearchLink' 'print HelpPopup' 'type WantTermEdit 3' 'click SearchLink' \
       'print HelpPopup' 'click SideMenu[1]' 'state HelpPopup')"
expected='HelpPopup= 请输入贷款金额
HelpPopup= 请输入贷款金额
HelpPopup visible=0 enabled=1 checked=0 selected=0 selection=0 focused=0 x=160 y=105 w=107 h=45'
[ "$out" = "$expected" ] || fail "loan search asks for the amount first: $out"
out="$(search 'click TopTabs[4]' 'type WantAmountEdit 20' 'click SearchLink' 'state HelpPopup' 'print HelpPopup')"
expected='HelpPopup visible=1 enabled=1 checked=0 selected=0 selection=0 focused=0 x=160 y=130 w=107 h=45
HelpPopup= 请输入贷款年限'
[ "$out" = "$expected" ] || fail "loan search messages: $out"
out="$(search 'click TopTabs[4]' 'choose LoanPurpose 2' 'type WantAmountEdit 20' 'type WantTermEdit 3' 'click SearchLink')"
[ "$out" = 'xdg-open "http://127.0.0.1:9/site/s2-20x36x3-0x0x9999/?ref=rodode"' ] || fail "car loan search: $out"
out="$(search 'click SideMenu[5]' 'type WantAmountEdit 150' 'choose WantAmountUnit 3' 'type WantTermEdit 18' \
       'choose WantTermUnit 1' 'click SearchLink')"
[ "$out" = 'xdg-open "http://127.0.0.1:9/site/s1-15x18-0x0x9999/?ref=rodode"' ] || fail "business loan search: $out"
out="$(search 'click TopTabs[4]' 'type WantAmountEdit 100' 'choose WantAmountUnit 1' 'type WantTermEdit 1' 'click SearchLink')"
[ "$out" = 'xdg-open "http://127.0.0.1:9/site/s1-0.01x12-0x0x9999/?ref=rodode"' ] || fail "100 元 search: $out"
out="$(search 'click Banner')"
[ "$out" = 'xdg-open "http://127.0.0.1:9/site/?ref=rodode"' ] || fail "banner: $out"

# The system calculator is started by name.
out="$(drive 'click SysCalcButton' 'started' 'quit')"
[ "$out" = "calc.exe" ] || fail "system calculator: $out"

# The hand-off to the updater, against real files in a program folder.
state() { mkdir -p "$1/update"; printf '<?xml version="1.0" encoding="gb2312"?>\n<Update><Ver>1.0.0.504</Ver><ALL St="%s"/></Update>\n' "$2" >"$1/update/config.xml"; }
mkdir -p "$work/pending" && state "$work/pending" 1
out="$(printf 'windows\nstarted\n' | "$driver" --program-dir "$work/pending" QingheCalc)"
expected="ended 0
\"$work/pending\\renew\" -m 51696E67686543616C63 312E302E302E353033 "
case "$out" in "$expected"3*) ;; *) fail "St=1 hand-off: $out" ;; esac
# Started by the updater (with its process id), after an install that left
# St="1": the calculator opens and starts no updater, or a failed install
# would loop.
out="$(printf 'windows\nstarted\nquit\n' | "$driver" --program-dir "$work/pending" QingheCalc 1a2b)"
echo "$out" | grep -q '^青禾计算器 visible=1' || fail "relaunched with St=1 shows no window: $out"
echo "$out" | grep -q 'renew' && fail "relaunched with St=1 started the updater again: $out"

for st in 0 ""; do
    dir="$work/st$st"; mkdir -p "$dir" && state "$dir" "$st"
    echo new >"$dir/renew.ex_"; echo old >"$dir/renew"
    out="$(printf 'windows\nstarted\nquit\n' | "$driver" --program-dir "$dir" QingheCalc)"
    echo "$out" | grep -q '^青禾计算器 visible=1' || fail "St=\"$st\" shows no window: $out"
    [ "$(cat "$dir/renew.ex_")" = new ] && [ "$(cat "$dir/renew")" = old ] || fail "St=\"$st\" touched the updater files"
done

dir="$work/waiting"; mkdir -p "$dir"; echo new >"$dir/renew.ex_"; echo old >"$dir/renew"
out="$(printf 'windows\nquit\n' | "$driver" --program-dir "$dir" QingheCalc)"
echo "$out" | grep -q '^青禾计算器 visible=1' || fail "no window after replacing the updater: $out"
[ "$(cat "$dir/renew")" = new ] && [ ! -e "$dir/renew.ex_" ] || fail "renew.ex_ was not moved over renew"

# A program folder with spaces in its name reaches the updater quoted.
dir="$work/Program Files/青禾"; mkdir -p "$dir" && state "$dir" 1
out="$(printf 'started\n' | "$driver" --program-dir "$dir" QingheCalc)"
echo "$out" | grep -q "^\"$dir\\\\renew\" -m " || fail "quoted program folder: $out"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
