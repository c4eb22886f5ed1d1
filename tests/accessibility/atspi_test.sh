#!/bin/sh
# QingheCalc through AT-SPI: on a private session bus (dbus-run-session) with
# the accessibility bus launched, the calculator starts its ATK bridge by
# itself (the launcher announces the bus on the X root window), and a
# pyatspi client reads its tree, moves the focus and hears the focus event
# (atspi_client.py). Then message 1024 ends the calculator, which must exit 0.
# Runs on a private Xvfb (with-xvfb.sh). Usage: atspi_test.sh <bin dir>
set -u
if [ -z "${QH_ATSPI_SESSION:-}" ]; then
    # dbus-run-session ends the bus, and what runs on it, with the script.
    exec env QH_ATSPI_SESSION=1 dbus-run-session -- "$0" "$@"
fi
export QINGHE_UPDATE_URL=none
export LC_ALL=C.UTF-8
BIN=$1
HERE=$(dirname "$0")
LAUNCHER=/usr/libexec/at-spi-bus-launcher
PID=""
BUS=""
fail() { echo "FAIL: $*"; [ -n "$PID" ] && kill "$PID" 2>/dev/null; [ -n "$BUS" ] && kill "$BUS" 2>/dev/null; exit 1; }
. "$HERE/../calc/shell/calc_window_checks.sh"

[ -x "$LAUNCHER" ] || fail "no $LAUNCHER (package at-spi2-core)"
"$LAUNCHER" --launch-immediately & BUS=$!
for i in $(seq 1 100); do
    xprop -root AT_SPI_BUS 2>/dev/null | grep -q unix: && break
    sleep 0.1
done
xprop -root AT_SPI_BUS 2>/dev/null | grep -q unix: || fail "the accessibility bus was not announced"

"$BIN/QingheCalc" & PID=$!
find_window '青禾计算器' >/dev/null || fail "no window titled 青禾计算器"
# The Debian interpreter, which python3-pyatspi installs for.
/usr/bin/python3 "$HERE/atspi_client.py" "$HERE/calc_housing_tree.txt" || fail "the AT-SPI client failed"
expect_ended_by_message_1024 "$("$BIN/notify" Ex_DirectUI 青禾计算器)"
kill "$BUS" 2>/dev/null
echo "PASS: the calculator's tree read, focused and quit through AT-SPI"
