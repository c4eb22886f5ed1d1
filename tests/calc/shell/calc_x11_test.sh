#!/bin/sh
# QingheCalc in a real X11 window (the test runs on a private Xvfb), driven
# with xdotool: typed inputs and a click on 计算 open the results window
# docked at the main window's right edge less 9 px, moving the main window
# drags it along, and message 1024 from a second process ends the program.
# Usage: calc_x11_test.sh <bin dir> [main shot] [results shot]
set -u
# No update server: nothing here reaches the network or starts the updater.
export QINGHE_UPDATE_URL=none
BIN=$1
export LC_ALL=C.UTF-8
PID=""
fail() { echo "FAIL: $*"; [ -n "$PID" ] && kill "$PID" 2>/dev/null; exit 1; }
. "$(dirname "$0")/calc_window_checks.sh"

"$BIN/QingheCalc" & PID=$!
MAIN=$(find_window '青禾计算器') || fail "no window titled 青禾计算器"
sleep 0.5
fill_housing_example "$MAIN"
RESULTS=$(find_window '计算结果') || fail "no results window after 计算"
expect_docked "$MAIN" "$RESULTS"

xdotool windowmove "$MAIN" 40 60
sleep 0.5
expect_docked "$MAIN" "$RESULTS"

expect_ended_by_message_1024 "$("$BIN/notify" Ex_DirectUI 青禾计算器)"
echo "PASS: results docked at right - 9 before and after a move; ended by message 1024"
