#!/bin/sh
# Screenshots of the Windows calculator (GDI+, layered windows) under Wine on
# a private Xvfb, for docs/: the pages with the worked examples typed in
# through xdotool, the results windows of the housing and tax pages, the
# results window's two help tips and the plan window. The program folder is the build's, which
# holds the shipped rules document as an installation does.
#   scripts/calc-screenshots-windows.sh [BIN_DIR] [WINE_PREFIX] [OUT_DIR]
set -eu
# No update server: nothing here reaches the network or starts the updater.
export QINGHE_UPDATE_URL=none
bin="${1:-build/windows/bin}"
prefix="${2:-build/windows/wineprefix}"
out="${3:-docs}"
here="$(cd "$(dirname "$0")" && pwd)"
export LC_ALL=C.UTF-8
exec "$here/../cmake/with-xvfb.sh" 1280x800x24 sh -c '
set -eu
bin="$1"; prefix="$2"; out="$3"; here="$4"
PID=""
fail() { echo "FAIL: $*"; [ -n "$PID" ] && kill "$PID" 2>/dev/null; exit 1; }
. "$here/../tests/calc/shell/calc_window_checks.sh"
# The about window shows the version of a fresh installation: none recorded
# (the tests of the updater write one into this prefix).
"$here/../cmake/wine-run.sh" "$prefix" reg delete \
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\青禾计算器" /f >/dev/null 2>&1 || true
"$here/../cmake/wine-run.sh" "$prefix" "$bin/QingheCalc.exe" & PID=$!
MAIN=$(find_window "青禾计算器") || fail "no main window"
sleep 2
MAIN=$(find_window "青禾计算器") || fail "the main window went away"
at() { xdotool mousemove --window "$MAIN" "$1" "$2" click 1; sleep 0.4; }
typein() { at "$1" "$2"; xdotool type --delay 40 -- "$3"; sleep 0.3; }
shot() {  # shot FILE WIDTH [X offset]
    sleep 1
    import -window root /tmp/calc-shot-$$.png
    eval "$(xdotool getwindowgeometry --shell "$MAIN")"
    convert /tmp/calc-shot-$$.png -crop "$2x440+$((X + ${3:-0}))+$Y" +repage "$1"
    rm -f /tmp/calc-shot-$$.png
}
# 房贷计算, 按面积: 2 万 per m², 20 年, 100 m², then 计算.
at 320 123; typein 258 151 2; typein 258 178 20; typein 258 260 100; at 535 402
shot "$out/calc-housing-results-windows.png" 811
# The results window (docked 591 px right of the main window) with each of
# its help tips, the mouse resting on the tip'"'"'s icon; side by side.
tip() { xdotool mousemove --window "$MAIN" 687 "$1"; sleep 0.5; shot "$2" 220 591; }
tip 115 "$out/calc-tip-upper-windows.png"
tip 247 "$out/calc-tip-lower-windows.png"
convert "$out/calc-tip-upper-windows.png" "$out/calc-tip-lower-windows.png" +append "$out/calc-results-tips-windows.png"
rm -f "$out/calc-tip-upper-windows.png" "$out/calc-tip-lower-windows.png"
# 二手房交易税: 未满5年, 120 m², 200 万.
at 60 143; at 337 150; typein 258 178 120; typein 258 205 200; at 535 402
shot "$out/calc-tax-results-windows.png" 811
# 税费(现行): 300 万, 150 m², bought for 200 万; 二套, 未满2年, not the only home.
# (The mouse leaves the original price before the next click: its tooltip,
# shown while the mouse rests there, covers the radio buttons below it.)
at 60 288; typein 258 123 300; typein 433 123 150; typein 258 150 200
xdotool mousemove --window "$MAIN" 500 330; sleep 0.6
at 315 177; at 235 205; at 315 232; at 535 402; shot "$out/calc-tax-now-results-windows.png" 811
at 60 230; shot "$out/calc-search-windows.png" 600
at 123 64; typein 258 151 15; typein 258 178 3; shot "$out/calc-car-windows.png" 600
at 196 64; typein 258 123 20; typein 258 151 50; typein 258 205 50; shot "$out/calc-combined-windows.png" 600
# 还款计划: 100 万 over 30 年 from 2026-01 at LPR - 45 BP, a prepayment in
# 2028-12 and an LPR forecast of 3.3 from 2030-01; the schedule scrolled to
# the prepayment; then kept as 方案A against 等额本金.
at 60 259
PLAN=$(find_window "还款计划") || fail "no plan window"
sleep 1
in_plan() { xdotool mousemove --window "$PLAN" "$1" "$2" click 1; sleep 0.4; }
replace() { in_plan "$1" "$2"; xdotool key ctrl+a; xdotool type --delay 40 -- "$3"; sleep 0.3; }
# Opens a combo box and clicks its second item, 55 px below the top of the box.
pick() { in_plan "$1" "$2"; in_plan "$1" $(($2 + 43)); }
plan_shot() {
    sleep 1
    import -window root /tmp/calc-shot-$$.png
    eval "$(xdotool getwindowgeometry --shell "$PLAN")"
    convert /tmp/calc-shot-$$.png -crop "1090x580+$X+$Y" +repage "$1"
    rm -f /tmp/calc-shot-$$.png
}
replace 559 46 2026-01; in_plan 200 76; replace 269 76 -45
replace 85 136 2028-12; replace 248 136 200000; in_plan 413 136
replace 85 136 2030-01; pick 164 136; replace 248 136 3.3; in_plan 413 136
xdotool mousemove --window "$PLAN" 300 400; for i in 1 2 3 4 5 6 7 8 9; do xdotool click 5; sleep 0.1; done
plan_shot "$out/calc-plan-windows.png"
in_plan 872 556; pick 413 46
plan_shot "$out/calc-plan-compare-windows.png"
# Closed (WM_CLOSE), so that it does not stand over the about window.
"$here/../cmake/wine-run.sh" "$prefix" "$bin/notify.exe" Ex_DirectUI 还款计划 16 >/dev/null 2>&1 || true
sleep 1
# 关于青禾: the about window, centred on the main window.
at 342 64
ABOUT=$(find_window "关于青禾...") || fail "no about window"
sleep 1
import -window root /tmp/calc-shot-$$.png
eval "$(xdotool getwindowgeometry --shell "$ABOUT")"
convert /tmp/calc-shot-$$.png -crop "390x265+$X+$Y" +repage "$out/calc-about-windows.png"
rm -f /tmp/calc-shot-$$.png
"$here/../cmake/wine-run.sh" "$prefix" "$bin/notify.exe" Ex_DirectUI 青禾计算器 >/dev/null
wait "$PID" || true
echo "wrote $out/calc-*-windows.png"
' sh "$bin" "$prefix" "$out" "$here"
