#!/bin/sh
# `make run`: the calculator in its own X11 window when there is a display.
# Without one (a server, a container, CI) it shows the product working all
# the same: the calculator runs in the headless host through uidriver on the
# housing page's worked example (100 万 over 20 年 at the first rate option:
# the current LPR of the rules document beside it), prints
# the results window's figures and saves screenshots of both windows.
set -eu
bin="build/linux/bin"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$bin/QingheCalc"
fi

out="build/run"
mkdir -p "$out"
main="$out/qinghecalc-main.png"
results="$out/qinghecalc-results.png"
echo "No X display: running 青禾计算器 headless through uidriver."
echo "房贷计算, 按额度: 贷款金额 100 万, 贷款期限 20 年, 年利率 3.5 (LPR 3.5%, 利率与税费依据 rules.xml 2026-01-01 版)"
printf '%s\n' 'type AmountEdit 100' 'type TermEdit 20' 'click CalcButton' "shot $main" \
    'window 计算结果' 'print InstallmentValues' 'print PrincipalValues' "shot $results" 'quit' |
    "$bin/uidriver" QingheCalc |
    sed -e 's/^InstallmentValues=/\n每月等额还款 (贷款总额, 每月还款, 总支付利息, 本息合计):\n/' \
        -e 's/^PrincipalValues=/\n逐月递减还款 (贷款总额, 首月还款, 每月递减, 总支付利息, 本息合计):\n/' \
        -e 's/\\r\\n\\r\\n/\n/g'
echo
echo "Screenshots: $main (main window) and $results (results window)."
