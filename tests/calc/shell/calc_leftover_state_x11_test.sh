#!/bin/sh
# A program folder left with an update waiting (update/config.xml St="1")
# and an updater that cannot start must still open the calculator: a start
# that fails (no renew, or renew not executable) is no reason to end, and the
# state stays for the next start to try again. An updater that does start
# gets the install command line and the calculator ends without a window.
# Usage: calc_leftover_state_x11_test.sh <bin dir>
set -u
export QINGHE_UPDATE_URL=none
BIN=$1
export LC_ALL=C.UTF-8
PID=""
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
. "$(dirname "$0")/calc_window_checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
state='<?xml version="1.0" encoding="gb2312"?>
<Update><Ver>1.0.0.504</Ver><ALL St="1"/></Update>'

# Folder: what renew is there ("missing", "not-executable" or "runs").
prepare() {
    dir="$work/$1"
    mkdir -p "$dir/update"
    cp "$BIN/QingheCalc" "$dir/"
    printf '%s\n' "$state" >"$dir/update/config.xml"
    case "$1" in
        missing) ;;
        not-executable) printf '#!/bin/sh\necho "$@" >"%s/ran"\n' "$dir" >"$dir/renew"; chmod 644 "$dir/renew" ;;
        runs) printf '#!/bin/sh\necho "$@" >"%s/ran"\n' "$dir" >"$dir/renew"; chmod 755 "$dir/renew" ;;
    esac
}

for case in missing not-executable; do
    prepare "$case"
    "$dir/QingheCalc" & PID=$!
    if find_window '青禾计算器' >/dev/null; then
        kill "$PID"; wait "$PID" 2>/dev/null
    else
        fail "$case updater: no calculator window"
        kill "$PID" 2>/dev/null
    fi
    [ ! -e "$dir/ran" ] || fail "$case updater ran"
    [ "$(cat "$dir/update/config.xml")" = "$state" ] || fail "$case updater: the state file changed"
done

prepare runs
"$dir/QingheCalc" & PID=$!
for _ in $(seq 1 100); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$PID" 2>/dev/null; then
    fail "the calculator went on after the updater started"
    kill "$PID"
fi
for _ in $(seq 1 50); do [ -s "$dir/ran" ] && break; sleep 0.1; done
case "$(cat "$dir/ran" 2>/dev/null)" in
    "-m "*) ;;
    *) fail "the updater did not get the install command line: $(cat "$dir/ran" 2>/dev/null)" ;;
esac

[ "$failures" -eq 0 ] && echo "PASS: a failed updater start opens the calculator; a started one ends it"
exit "$failures"
