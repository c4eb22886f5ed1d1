#!/bin/bash
# Screenshots of the Windows updater (GDI+, a layered window) in every phase
# for docs/, under Wine on a private Xvfb against a local update server, the
# buttons clicked with xdotool.
#   scripts/renew-screenshots-windows.sh [BIN_DIR] [WINE_PREFIX] [OUT_DIR]
# QH_SHOT_SCALE=2 takes them from a prefix set to 192 DPI (clicks and crops
# in device pixels at that scale); QH_SHOT_ONLY=notes stops after the first.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(cd "${1:-build/windows/bin}" && pwd)"
prefix="$(cd "${2:-build/windows/wineprefix}" && pwd)"
out="$(mkdir -p "${3:-docs}" && cd "${3:-docs}" && pwd)"
if [ -z "${QH_TEST_SERVER:-}" ]; then
    exec python3 "$root/tests/support/http_test_server.py" -- \
        "$root/cmake/with-xvfb.sh" "$([ "${QH_SHOT_SCALE:-1}" = 1 ] && echo 1280x800x24 || echo 2400x1400x24)" "$0" "$bin" "$prefix" "$out"
fi
export LC_ALL=C.UTF-8
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/"
RUN="$root/cmake/wine-run.sh"
work="$(mktemp -d)"
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
served="$QH_TEST_SERVER_ROOT/qingheupdate"
mkdir -p "$work/release/skin"
printf 'calculator 506' >"$work/release/QingheCalc.exe"
head -c 2500000 /dev/zero >"$work/release/skin/bg.png"
printf 'updater 506' >"$work/release/renew.ex_"
printf '修正了组合贷款的月供计算。\n新增二手房交易税的满五唯一减免。\n利率表更新到最新基准利率。\n' >"$work/notes.txt"
"$RUN" "$prefix" "$bin/qinghe-publish.exe" --release "$(winpath "$work/release")" --version 1.0.0.506 \
    --notes "$(winpath "$work/notes.txt")" --out "$(winpath "$served")" >/dev/null
cp "$root/tests/renew/server/renew_ad."* "$served/"
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

W=""
# Starts the updater in a fresh program folder and finds its window.
start() {
    local dir; dir="$(mktemp -d -p "$work")"
    printf 'calculator 503' >"$dir/QingheCalc.exe"
    cp "$bin/renew.exe" "$dir/"
    "$RUN" "$prefix" "$dir/renew.exe" -s "$(hex QingheCalc.exe)" "$(hex "$1")" "$(hex 1)" >/dev/null 2>&1 &
    for _ in $(seq 1 150); do
        W=$(xdotool search --onlyvisible --name '^青禾计算器升级程序$' 2>/dev/null | tail -1)
        [ -n "$W" ] && xdotool getwindowgeometry "$W" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 2
    W=$(xdotool search --onlyvisible --name '^青禾计算器升级程序$' | tail -1)
}
stop() { WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; sleep 1; }
s=${QH_SHOT_SCALE:-1}
at() { xdotool mousemove --window "$W" $(($1 * s)) $(($2 * s)) click 1; sleep "${3:-1.5}"; }
shot() {  # shot FILE [WIDTH HEIGHT]: the updater window, or more of the screen from its corner
    sleep 0.5
    import -window root "$work/screen.png"
    eval "$(xdotool getwindowgeometry --shell "$W")"
    convert "$work/screen.png" -crop "$((${2:-500} * s))x$((${3:-350} * s))+$X+$Y" +repage "$1"
}
next() { at 370 327 "${1:-1.5}"; }

start 1.0.0.503; shot "$out/renew-notes-windows.png"
[ "${QH_SHOT_ONLY:-}" = notes ] && { stop; exit 0; }
next; shot "$out/renew-list-windows.png"
next 3; shot "$out/renew-staged-windows.png"; stop
start 1.0.0.506; shot "$out/renew-current-windows.png"; stop
printf '/qingheupdate/skin\\bg.png trickle\n' >"$QH_TEST_SERVER_ROOT/.faults"
start 1.0.0.503; next; next 2; shot "$out/renew-downloading-windows.png"; stop
printf '/qingheupdate/skin\\bg.png 404\n' >"$QH_TEST_SERVER_ROOT/.faults"
start 1.0.0.503; next; next 2; shot "$out/renew-failed-windows.png"; stop
rm -f "$QH_TEST_SERVER_ROOT/.faults"
# Closing asks first: the box stands centred on the screen, over the window.
start 1.0.0.503; at 480 9 2
eval "$(xdotool getwindowgeometry --shell "$W")"
import -window root "$work/screen.png"
convert "$work/screen.png" -crop "$((500 * s))x$((350 * s))+$X+$Y" +repage "$out/renew-confirm-windows.png"; stop
echo "wrote $out/renew-*-windows.png"
