#!/bin/sh
# cmake/wine-run.sh is the cross builds' test emulator, so CMake also runs
# the tests' Linux scripts and servers through it. Started through Wine, a
# Linux program's exit status was lost and every such Windows test passed,
# failures and all; they must run as they are, with the prefix named.
run="$(cd "$(dirname "$0")/../../cmake" && pwd)/wine-run.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

"$run" "$work/prefix" /bin/sh -c 'exit 3'
[ $? -eq 3 ] || fail "a Linux program's exit status was lost"
printf '#!/bin/sh\necho "$WINEPREFIX"\nexit 4\n' >"$work/script.sh"
chmod +x "$work/script.sh"
out="$("$run" "$work/prefix" "$work/script.sh")"
[ $? -eq 4 ] || fail "a script's exit status was lost"
[ "$out" = "$work/prefix" ] || fail "the script was not told the prefix: '$out'"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
