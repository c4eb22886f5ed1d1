#!/bin/sh
# Runs toolkit-demo on the X11 host under its own Xvfb display: the window is
# found by class and title, a click changes what is drawn, and message 1024
# from a second process ends it. Usage: x11_demo_test.sh <bin dir> [screenshot]
set -u
BIN=$1
SHOT=${2:-}
export LC_ALL=C.UTF-8
. "$(dirname "$0")/demo_checks.sh"
"$BIN/toolkit-demo" & PID=$!
W=""
for i in $(seq 1 50); do
    W=$(xdotool search --class Ex_DirectUI 2>/dev/null | head -1)
    [ -n "$W" ] && break
    sleep 0.1
done
[ -n "$W" ] || fail "no window of class Ex_DirectUI"
T=$(xdotool search --name '^青禾工具箱演示$' 2>/dev/null | head -1)
[ "$T" = "$W" ] || fail "window not found by its title"
sleep 0.5
TMP=$(mktemp -d)
import -window "$W" "$TMP/before.png"
xdotool mousemove --window "$W" 180 166 click 1
sleep 0.5
import -window "$W" "$TMP/after.png"
DIFF=$(compare -metric AE "$TMP/before.png" "$TMP/after.png" null: 2>&1)
[ "${DIFF:-0}" -gt 100 ] || fail "the click changed $DIFF pixels"
[ -n "$SHOT" ] && cp "$TMP/after.png" "$SHOT"
expect_ended_by_message_1024 "$("$BIN/toolkit-demo" --notify)"
echo "PASS: clicked ($DIFF pixels changed), ended by message 1024"
rm -rf "$TMP"
