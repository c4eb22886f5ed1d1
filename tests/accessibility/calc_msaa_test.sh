#!/bin/sh
# The calculator as a screen reader reads it on Windows, under Wine on the
# current X display (the test runs on a private Xvfb): msaa_client, another
# process, walks the main window's tree through AccessibleObjectFromWindow
# and it must be the tree `uidriver tree` prints (the committed file); Tab
# keys raise focus events naming the controls Tab visits; an object kept
# after its window closed answers an error and the client goes on.
# (The updater's window is not read here: it holds a machine-wide lock.)
# Usage: calc_msaa_test.sh <bin dir> <wine prefix> <expected tree>
set -u
# No update server: nothing here reaches the network or starts the updater.
export QINGHE_UPDATE_URL=none LC_ALL=C.UTF-8
BIN=$1
PREFIX=$2
EXPECTED=$3
RUN="$(dirname "$0")/../../cmake/wine-run.sh"
WORK=$(mktemp -d)
PID=""
fail() { echo "FAIL: $*"; [ -n "$PID" ] && kill "$PID" 2>/dev/null; rm -rf "$WORK"; exit 1; }
. "$(dirname "$0")/../calc/shell/calc_window_checks.sh"
trap 'rm -rf "$WORK"' EXIT
client() { "$RUN" "$PREFIX" "$BIN/msaa_client.exe" "$@" | tr -d '\r'; }

"$RUN" "$PREFIX" "$BIN/QingheCalc.exe" & PID=$!
find_window '青禾计算器' >/dev/null || fail "no window titled 青禾计算器"
# Wine may replace the window's X window once it becomes layered.
sleep 2
MAIN=$(find_window '青禾计算器') || fail "the main window went away"

# Whether the window itself is active (focused) is the window manager's
# choice on Xvfb, so that one state of the first line is left out of the
# comparison; every other line and state must be the same.
client tree 青禾计算器 >"$WORK/tree.txt" || fail "the client could not read the tree: $(cat "$WORK/tree.txt")"
sed '1s/states=focused,/states=/' "$WORK/tree.txt" >"$WORK/got.txt"
sed '1s/states=focused,/states=/' "$EXPECTED" >"$WORK/want.txt"
diff -u "$WORK/want.txt" "$WORK/got.txt" >"$WORK/diff.txt" || fail "the tree differs from uidriver's:
$(cat "$WORK/diff.txt")"

# The first Tab focuses the page's first control, the checked radio button;
# the next ones go on in the tree's order past the group's other button.
client tab 青禾计算器 3 >"$WORK/focus.txt" || fail "the client could not hook the focus"
printf '%s\n' 'focus radio button "按额度"' 'focus editable text "贷款金额"' 'focus combo box "贷款金额" value="万"' \
    >"$WORK/focus-want.txt"
diff -u "$WORK/focus-want.txt" "$WORK/focus.txt" >"$WORK/diff.txt" || fail "focus events differ:
$(cat "$WORK/diff.txt")"

# An object kept after its window closed answers an error: the results
# window's, with the program still running, the program's own
# CO_E_OBJNOTCONNECTED; the main window's, which ends the program, RPC's.
fill_housing_example "$MAIN"
find_window '计算结果' >/dev/null || fail "no results window after 计算"
RESULTS=$(client close 计算结果) || fail "the client failed after the results window closed: $RESULTS"
[ "$RESULTS" = "after close: 0x800401FD" ] || fail "a call on the closed results window's object answered: $RESULTS"
CLOSED=$(client close 青禾计算器) || fail "the client failed after the window closed: $CLOSED"
case "$CLOSED" in
    "after close: 0x8"*) ;;
    *) fail "a call on the closed window's object answered: $CLOSED" ;;
esac
wait "$PID"
echo "PASS: tree as uidriver prints it; Tab raised $(wc -l <"$WORK/focus.txt") focus events; results window: $RESULTS; main window: $CLOSED"
