#!/bin/bash
# Screenshots at 200 % of the Windows programs under Wine, for docs/: a copy
# of the prefix set to 192 DPI (LogPixels), then the calculator with its
# results window (through the display-scale test's own run), the plan window
# and the updater with its release notes.
#   scripts/dpi-screenshots-windows.sh [BIN_DIR] [WINE_PREFIX] [OUT_DIR]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(cd "${1:-build/windows64/bin}" && pwd)"
prefix="$(cd "${2:-build/windows64/wineprefix}" && pwd)"
out="$(mkdir -p "${3:-docs}" && cd "${3:-docs}" && pwd)"
export QINGHE_UPDATE_URL=none LC_ALL=C.UTF-8
work="$(mktemp -d)"
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
cp -a "$prefix" "$work/prefix"
"$root/cmake/wine-run.sh" "$work/prefix" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d 192 /f >/dev/null 2>&1

QH_DPI=192 "$root/cmake/with-xvfb.sh" 2400x1400x24 "$root/tests/calc/shell/calc_dpi_test.sh" wine "$bin" \
    "$prefix" "$out/dpi-calc-200-windows.png"

# The plan window from the side menu's sixth entry (logical 60,259), with a
# first month typed in; positions in device pixels at scale 2.
"$root/cmake/with-xvfb.sh" 2400x1400x24 sh -c '
    set -eu
    root="$1"; bin="$2"; work="$3"; out="$4"
    . "$root/tests/calc/shell/calc_window_checks.sh"
    fail() { echo "FAIL: $*"; exit 1; }
    "$root/cmake/wine-run.sh" "$work/prefix" "$bin/QingheCalc.exe" &
    MAIN=$(find_window "青禾计算器") || fail "no main window"
    sleep 2
    MAIN=$(find_window "青禾计算器") || fail "the main window went away"
    xdotool mousemove --window "$MAIN" 120 518 click 1
    PLAN=$(find_window "还款计划") || fail "no plan window"
    sleep 1
    at() { xdotool mousemove --window "$PLAN" "$1" "$2" click 1; sleep 0.4; }
    replace() { at "$1" "$2"; xdotool key ctrl+a; xdotool type --delay 60 -- "$3"; sleep 0.5; }
    replace 1118 92 2026-01
    replace 170 272 2028-12
    replace 496 272 200000
    at 826 272
    xdotool mousemove --window "$PLAN" 1200 1100
    sleep 1.5
    import -window root "$work/screen.png"
    eval "$(xdotool getwindowgeometry --shell "$PLAN")"
    convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$out/dpi-plan-200-windows.png"
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
' sh "$root" "$bin" "$work" "$out"

# (Its server wrapper reports the stop after the first shot as a failure:
# the shot itself is what counts.)
QH_SHOT_SCALE=2 QH_SHOT_ONLY=notes "$root/scripts/renew-screenshots-windows.sh" "$bin" "$work/prefix" "$work/renew" || true
cp "$work/renew/renew-notes-windows.png" "$out/dpi-renew-200-windows.png"
echo "wrote $out/dpi-*-200-windows.png"
