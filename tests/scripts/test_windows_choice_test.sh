#!/bin/sh
# The Windows test runner's choice of build. A machine that cannot run 32-bit
# programs is simulated with QH_ASSUME_NO_32BIT=1; the probe itself must be a
# real 32-bit program, or the check would pass on every machine.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
runner="$root/scripts/test-windows.sh"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

# Without 32-bit programs, the 64-bit build runs the suite, and the reason says why.
out="$(QH_ASSUME_NO_32BIT=1 "$runner" --choose)"
[ "$(echo "$out" | sed -n 1p)" = windows64 ] || fail "simulated machine chose '$(echo "$out" | sed -n 1p)'"
echo "$out" | sed -n 2p | grep -q "cannot run 32-bit programs" || fail "no reason given: $out"

# The probe is a 32-bit x86 ELF program: extract it by running the writer alone.
probe="$(mktemp)"
sed -n '/^write_probe()/,/^}/p' "$runner" > "$probe.sh"
echo 'write_probe "$1"' >> "$probe.sh"
sh "$probe.sh" "$probe"
file -b "$probe" | grep -q "ELF 32-bit LSB executable, Intel 80386" || fail "probe is not a 32-bit program: $(file -b "$probe")"

# On this machine the choice agrees with what the probe does.
status=0
"$probe" 2>/dev/null || status=$?
choice="$("$runner" --choose | sed -n 1p)"
if [ "$status" -eq 42 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    [ "$choice" = windows ] || fail "32-bit programs run here, but the runner chose $choice"
else
    [ "$choice" = windows64 ] || fail "32-bit programs do not run here, but the runner chose $choice"
fi
rm -f "$probe" "$probe.sh"

[ "$failures" -eq 0 ] && echo "ok: runner chooses windows64 without 32-bit programs; here it chose $choice"
exit "$failures"
