#!/bin/sh
# The calculator at a display scale in a real window (the test runs on a
# private Xvfb): the window is its 96-DPI size times the scale, the results
# window docks at the right edge less 9 logical pixels, and the text is
# drawn at device resolution, so a row of labels has clearly more edge
# contrast than the same row drawn at scale 1 and enlarged.
# Usage: calc_dpi_test.sh x11 <bin dir> [shot]
#        calc_dpi_test.sh wine <bin dir> <wine prefix> [shot]
# X11 takes scale 2 from Xft.dpi 192; Wine takes 1.5 from LogPixels 144
# (QH_DPI sets another).
set -u
export QINGHE_UPDATE_URL=none LC_ALL=C.UTF-8
MODE=$1
BIN=$2
if [ "$MODE" = wine ]; then PREFIX=$3; SHOT=${4:-}; DPI=144; else SHOT=${3:-}; DPI=192; fi
DPI=${QH_DPI:-$DPI}  # another DPI, for screenshots
RUN="$(dirname "$0")/../../../cmake/wine-run.sh"
WORK=$(mktemp -d)
PID=""
fail() { echo "FAIL: $*"; [ -n "$PID" ] && kill "$PID" 2>/dev/null; rm -rf "$WORK"; exit 1; }
. "$(dirname "$0")/calc_window_checks.sh"
trap 'rm -rf "$WORK"' EXIT
if [ "$MODE" = wine ]; then
    # A copy of the prefix: the DPI setting stays out of the shared one.
    cp -a "$PREFIX" "$WORK/prefix" || fail "cannot copy the prefix"
fi

# Device pixels of a logical length or position at the scale, and back.
dev() { awk -v v="$1" -v s="$SCALE" 'BEGIN { printf "%d", v * s + 0.5 }'; }
logical() { awk -v v="$1" -v s="$SCALE" 'BEGIN { printf "%d", v / s + 0.5 }'; }

# Starts the calculator at a DPI and sets MAIN to its window.
start_at() {
    SCALE=$(awk -v d="$1" 'BEGIN { print d / 96 }')
    if [ "$MODE" = wine ]; then
        "$RUN" "$WORK/prefix" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
            >/dev/null 2>&1 || fail "cannot set LogPixels"
        "$RUN" "$WORK/prefix" "$BIN/QingheCalc.exe" & PID=$!
    else
        xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t%s\n' "$1")"
        "$BIN/QingheCalc" & PID=$!
    fi
    MAIN=$(find_window '青禾计算器') || fail "no window at $1 DPI"
    sleep 2
    MAIN=$(find_window '青禾计算器') || fail "the window went away at $1 DPI"
}

stop() {
    kill "$PID" 2>/dev/null
    wait "$PID" 2>/dev/null
    [ "$MODE" = wine ] && "$RUN" "$WORK/prefix" wineserver -k >/dev/null 2>&1
    PID=""
}

# The row of the first two labels and radio buttons (logical 130,110 400x60),
# grey, from a shot of the screen; enlarged from scale 1 when asked.
label_row() {
    import -window root "$WORK/screen.png"
    eval "$(xdotool getwindowgeometry --shell "$MAIN")"
    convert "$WORK/screen.png" -crop "$(dev 400)x$(dev 60)+$((X + $(dev 130)))+$((Y + $(dev 110)))" +repage \
        ${2:+-resize "$2"} -colorspace gray "$1"
}
edges() { convert "$1" -morphology EdgeIn Diamond -format '%[fx:mean]' info:; }

start_at 96
label_row "$WORK/row96.png"
stop

start_at "$DPI"
eval "$(xdotool getwindowgeometry --shell "$MAIN")"
[ "$WIDTH" -eq "$(dev 600)" ] && [ "$HEIGHT" -eq "$(dev 440)" ] ||
    fail "window ${WIDTH}x$HEIGHT at scale $SCALE, expected $(dev 600)x$(dev 440)"
convert "$WORK/row96.png" -resize "$(dev 400)x$(dev 60)!" "$WORK/row96up.png"
label_row "$WORK/rowscaled.png"
SHARP=$(edges "$WORK/rowscaled.png")
BLURRED=$(edges "$WORK/row96up.png")
awk -v a="$SHARP" -v b="$BLURRED" 'BEGIN { exit !(a > 1.2 * b) }' ||
    fail "text at scale $SCALE not sharper than scale 1 enlarged: edge contrast $SHARP against $BLURRED"

# The housing example, clicked at device positions; the results window docks
# at the right edge less 9 logical pixels, 220 wide, as high as the window.
for step in "258 151 100" "258 178 20" "535 402"; do
    set -- $step
    xdotool mousemove --window "$MAIN" "$(dev "$1")" "$(dev "$2")" click 1
    sleep 0.3
    [ $# -eq 3 ] && xdotool type --delay 50 "$3"
done
sleep 1
RESULTS=$(find_window '计算结果') || fail "no results window after 计算 at scale $SCALE"
eval "$(xdotool getwindowgeometry --shell "$MAIN")"
MX=$X; MY=$Y; MW=$WIDTH; MH=$HEIGHT
eval "$(xdotool getwindowgeometry --shell "$RESULTS")"
DOCKED=$(dev $(($(logical "$MX") + 600 - 9)))  # placed in logical pixels, then converted
[ "$X" -eq "$DOCKED" ] && [ "$Y" -eq "$MY" ] && [ "$WIDTH" -eq "$(dev 220)" ] && [ "$HEIGHT" -eq "$MH" ] ||
    fail "results window at $X,$Y ${WIDTH}x$HEIGHT, main window at $MX,$MY ${MW}x$MH, scale $SCALE (x $DOCKED wanted)"
if [ -n "$SHOT" ]; then
    import -window root "$WORK/screen.png"
    convert "$WORK/screen.png" -crop "$((X + WIDTH - MX))x$MH+$MX+$MY" +repage "$SHOT"
fi
stop
echo "PASS: scale $SCALE: window $(dev 600)x$(dev 440), results docked, edge contrast $SHARP against $BLURRED enlarged"
