#!/bin/sh
# The updater as a screen reader reads it on Windows, under Wine on the
# current X display: renew.exe asks a server that does not answer, and
# msaa_client, another process, walks its window's tree through
# AccessibleObjectFromWindow; it must be the tree `uidriver tree` prints for
# the same screen (the committed file, which renew_keyboard checks too).
# Usage: renew_msaa_test.sh <bin dir> <wine prefix> <expected tree>
set -u
export QINGHE_UPDATE_URL=http://127.0.0.1:9/qingheupdate/ LC_ALL=C.UTF-8
BIN=$1
PREFIX=$2
EXPECTED=$3
RUN="$(dirname "$0")/../../cmake/wine-run.sh"
WORK=$(mktemp -d)
PID=""
fail() { echo "FAIL: $*"; [ -n "$PID" ] && kill "$PID" 2>/dev/null; rm -rf "$WORK"; exit 1; }
. "$(dirname "$0")/../calc/shell/calc_window_checks.sh"
trap 'rm -rf "$WORK"' EXIT
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

# A program folder of its own, so the updater writes nothing beside the build.
mkdir -p "$WORK/prog"
cp "$BIN/renew.exe" "$WORK/prog/"
"$RUN" "$PREFIX" "$WORK/prog/renew.exe" -s "$(hex QingheCalc)" "$(hex 1.0.0.503)" "$(hex 4321)" & PID=$!
# The window's own title; its caption (and so its accessible name) may add
# the build's mark.
TITLE=青禾计算器升级程序
find_window "$TITLE" >/dev/null || fail "no window titled $TITLE"
# Whether the window itself is active is the window manager's choice on
# Xvfb. WinInet may take a while to give up on the server: the tree is read
# again until the check has failed.
sed '1s/states=focused,/states=/' "$EXPECTED" >"$WORK/want.txt"
for attempt in $(seq 1 30); do
    "$RUN" "$PREFIX" "$BIN/msaa_client.exe" tree "$TITLE" | tr -d '\r' >"$WORK/tree.txt" ||
        fail "the client could not read the tree: $(cat "$WORK/tree.txt")"
    sed '1s/states=focused,/states=/' "$WORK/tree.txt" >"$WORK/got.txt"
    grep -q '获取失败' "$WORK/got.txt" && break
    sleep 1
done
diff -u "$WORK/want.txt" "$WORK/got.txt" >"$WORK/diff.txt" || fail "the tree differs from uidriver's:
$(cat "$WORK/diff.txt")"
kill "$PID" 2>/dev/null
wait "$PID" 2>/dev/null
echo "PASS: the updater's tree as uidriver prints it"
