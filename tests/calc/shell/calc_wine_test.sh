#!/bin/sh
# QingheCalc.exe under Wine on the current X display (the test runs on a
# private Xvfb): typed inputs and a click on 计算 open the results window
# docked at the main window's right edge less 9 px, and message 1024 from a
# second Windows process (notify.exe, through FindWindow and SendMessage)
# ends the program.
# Usage: calc_wine_test.sh <bin dir> <wine prefix> [main shot] [results shot]
set -u
# No update server: nothing here reaches the network or starts the updater.
export QINGHE_UPDATE_URL=none
BIN=$1
PREFIX=$2
MAIN_SHOT=${3:-}
RESULTS_SHOT=${4:-}
RUN="$(dirname "$0")/../../../cmake/wine-run.sh"
export LC_ALL=C.UTF-8
PID=""
fail() { echo "FAIL: $*"; [ -n "$PID" ] && kill "$PID" 2>/dev/null; exit 1; }
. "$(dirname "$0")/calc_window_checks.sh"

"$RUN" "$PREFIX" "$BIN/QingheCalc.exe" & PID=$!
MAIN=$(find_window '青禾计算器') || fail "no window titled 青禾计算器"
# Wine may replace the window's X window once it becomes layered.
sleep 2
MAIN=$(find_window '青禾计算器') || fail "the main window went away"
fill_housing_example "$MAIN"
RESULTS=$(find_window '计算结果') || fail "no results window after 计算"
expect_docked "$MAIN" "$RESULTS"
if [ -n "$MAIN_SHOT" ]; then
    sleep 1
    import -window root /tmp/calc-wine-$$.png
    eval "$(xdotool getwindowgeometry --shell "$MAIN")"
    convert /tmp/calc-wine-$$.png -crop "600x440+$X+$Y" +repage "$MAIN_SHOT"
    [ -n "$RESULTS_SHOT" ] && convert /tmp/calc-wine-$$.png -crop "220x440+$((X + 591))+$Y" +repage "$RESULTS_SHOT"
    rm -f /tmp/calc-wine-$$.png
fi

expect_ended_by_message_1024 "$("$RUN" "$PREFIX" "$BIN/notify.exe" Ex_DirectUI 青禾计算器 | tr -d '\r')"

# A folder left with an update waiting (St="1") and no renew.exe: the
# elevated start ("runas") fails, and the calculator opens all the same.
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
mkdir -p "$DIR/update"
cp "$BIN/QingheCalc.exe" "$DIR/"
printf '<?xml version="1.0" encoding="gb2312"?>\n<Update><Ver>1.0.0.504</Ver><ALL St="1"/></Update>\n' \
    >"$DIR/update/config.xml"
"$RUN" "$PREFIX" "$DIR/QingheCalc.exe" & PID=$!
find_window '青禾计算器' >/dev/null || fail "a leftover St=1 without renew.exe opened no calculator"
expect_ended_by_message_1024 "$("$RUN" "$PREFIX" "$BIN/notify.exe" Ex_DirectUI 青禾计算器 | tr -d '\r')"
echo "PASS: results docked at right - 9; ended by message 1024 from another process; a failed updater start opens the calculator"
