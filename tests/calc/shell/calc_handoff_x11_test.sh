#!/bin/sh
# The updater hand-off on a real display: with no update\config.xml and a new
# updater waiting as renew.ex_, QingheCalc first makes the running updater's
# window (here a stand-in titled 青禾计算器升级程序) quit with message 1024,
# and only then moves renew.ex_ over renew; then it shows its window.
# Usage: calc_handoff_x11_test.sh <bin dir>
set -u
# No update server: nothing here reaches the network or starts the updater.
export QINGHE_UPDATE_URL=none
BIN=$1
export LC_ALL=C.UTF-8
PID=""
fail() { echo "FAIL: $*"; [ -n "$PID" ] && kill "$PID" 2>/dev/null; [ -n "${UPDATER:-}" ] && kill "$UPDATER" 2>/dev/null; exit 1; }
. "$(dirname "$0")/calc_window_checks.sh"
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
cp "$BIN/QingheCalc" "$DIR/"
echo new >"$DIR/renew.ex_"
echo old >"$DIR/renew"

"$BIN/fake_window" 青禾计算器升级程序 & UPDATER=$!
find_window '青禾计算器升级程序' >/dev/null || fail "the stand-in updater window did not appear"
"$DIR/QingheCalc" & PID=$!
find_window '青禾计算器' >/dev/null || fail "no calculator window"
# Its window is gone before the calculator goes on; the process itself may
# take a moment more to exit.
for _ in $(seq 1 50); do kill -0 "$UPDATER" 2>/dev/null || break; sleep 0.1; done
kill -0 "$UPDATER" 2>/dev/null && fail "the updater window was not asked to quit"
wait "$UPDATER"; RC=$?
[ "$RC" -eq 0 ] || fail "the stand-in ended with $RC"
[ "$(cat "$DIR/renew")" = new ] && [ ! -e "$DIR/renew.ex_" ] || fail "renew.ex_ was not moved over renew"
kill "$PID"
echo "PASS: the updater window quit on message 1024, then renew.ex_ replaced renew"
