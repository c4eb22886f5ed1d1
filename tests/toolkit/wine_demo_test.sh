#!/bin/sh
# Runs toolkit-demo.exe under Wine on the current X display (the test runs
# on a private Xvfb): a second Windows process finds the window by its class
# "Ex_DirectUI" and title, the screenshot shows drawn content, a click
# changes the drawing, and message 1024 from a second process ends it.
# Usage: wine_demo_test.sh <bin dir> <wine prefix> [screenshot]
set -u
BIN=$1
PREFIX=$2
SHOT=${3:-}
RUN="$(dirname "$0")/../../cmake/wine-run.sh"
TITLE='青禾工具箱演示'
export LC_ALL=C.UTF-8
. "$(dirname "$0")/demo_checks.sh"

"$RUN" "$PREFIX" "$BIN/toolkit-demo.exe" & PID=$!
W=""
for i in $(seq 1 150); do
    W=$(xdotool search --name "^$TITLE\$" 2>/dev/null | head -1)
    [ -n "$W" ] && break
    sleep 0.1
done
[ -n "$W" ] || fail "no window titled $TITLE"
# A loaded machine may need a moment before the window is registered and
# drawn, so the checks below retry for a while before they fail.
FOUND=""
for i in $(seq 1 10); do
    FOUND=$("$RUN" "$PREFIX" "$BIN/toolkit-demo.exe" --find | tr -d '\r')
    [ "$FOUND" = "1" ] && break
    sleep 0.5
done
[ "$FOUND" = "1" ] || fail "FindWindow by class Ex_DirectUI and title found '$FOUND'"

# Wine may replace the window's X window once the window becomes layered,
# so the window is looked up again until its geometry can be read.
GEOMETRY=""
for i in $(seq 1 50); do
    sleep 0.2
    W=$(xdotool search --name "^$TITLE\$" 2>/dev/null | tail -1)
    [ -n "$W" ] && GEOMETRY=$(xdotool getwindowgeometry --shell "$W" 2>/dev/null) && [ -n "$GEOMETRY" ] && break
done
[ -n "$GEOMETRY" ] || fail "the window's geometry cannot be read"
eval "$GEOMETRY"
sleep 1
TMP=$(mktemp -d)
import -window root "$TMP/before.png"
COLOURS=$(convert "$TMP/before.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -format %k info:)
[ "$COLOURS" -gt 50 ] || fail "the window shows only $COLOURS colours"

xdotool mousemove --window "$W" 180 166 click 1
DIFF=0
for i in $(seq 1 20); do
    sleep 0.25
    import -window root "$TMP/after.png"
    DIFF=$(compare -metric AE "$TMP/before.png" "$TMP/after.png" null: 2>&1)
    [ "${DIFF:-0}" -gt 100 ] && break
done
[ "${DIFF:-0}" -gt 100 ] || fail "the click changed $DIFF pixels"
[ -n "$SHOT" ] && convert "$TMP/after.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$SHOT"

expect_ended_by_message_1024 "$("$RUN" "$PREFIX" "$BIN/toolkit-demo.exe" --notify | tr -d '\r')"
echo "PASS: found by class and title, $COLOURS colours, click changed $DIFF pixels, ended by message 1024"
rm -rf "$TMP"
