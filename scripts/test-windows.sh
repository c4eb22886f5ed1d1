#!/bin/sh
# Runs the Windows test suite under Wine with the build this machine can run.
#
# The 32-bit build (preset "windows") is the product and is always built.
# Its tests need a machine that runs 32-bit programs: the kernel must execute
# 32-bit ELF files, since the 32-bit Wine loader is one. Some kernels are
# built or booted without that. There the 64-bit build (preset "windows64")
# is built and the same suite runs under wine64 instead. The Windows tests
# are never skipped.
#
# Usage: test-windows.sh [--choose]
#   --choose  print the chosen preset and the reason, and run nothing.
# QH_ASSUME_NO_32BIT=1 makes the machine count as one that cannot run 32-bit
# programs, to test the 64-bit path on any machine.
# The verdict line is also written to build/windows-tests.txt, so that
# `make test` can repeat it as its last line.
set -eu
cd "$(dirname "$0")/.."
JOBS="${JOBS:-$(nproc)}"

# Writes a 32-bit x86 ELF program of 96 bytes that exits with status 42
# through the 32-bit system call gate (int 0x80), and nothing else: no
# libraries, no loader. It runs exactly where the kernel runs 32-bit code.
write_probe() {
    python3 - "$1" <<'PY'
import struct, sys
code = bytes([0xB8, 1, 0, 0, 0,        # mov eax, 1   (exit)
              0xBB, 42, 0, 0, 0,       # mov ebx, 42  (status)
              0xCD, 0x80])             # int 0x80
base, ehsize, phsize = 0x08048000, 52, 32
size = ehsize + phsize + len(code)
ident = b"\x7fELF" + bytes([1, 1, 1]) + bytes(9)        # 32-bit, little-endian
header = ident + struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, base + ehsize + phsize,
                             ehsize, 0, 0, ehsize, phsize, 1, 0, 0, 0)
segment = struct.pack("<IIIIIIII", 1, 0, base, base, size, size, 5, 0x1000)
with open(sys.argv[1], "wb") as out:
    out.write(header + segment + code)
PY
    chmod +x "$1"
}

# Sets REASON and returns 0 when this machine runs 32-bit programs.
can_run_32bit() {
    if [ "${QH_ASSUME_NO_32BIT:-0}" = 1 ]; then
        REASON="QH_ASSUME_NO_32BIT=1 says this machine cannot run 32-bit programs"
        return 1
    fi
    # In the build folder rather than /tmp, which may be mounted noexec.
    mkdir -p build
    probe="$(mktemp build/probe32.XXXXXX)"
    write_probe "$probe"
    status=0
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    if [ "$status" -ne 42 ]; then
        REASON="this machine's kernel does not run 32-bit programs (a 32-bit test program could not run)"
        return 1
    fi
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        REASON="the 32-bit Wine loader (/usr/lib/wine/wine) does not start here"
        return 1
    fi
    REASON="this machine runs 32-bit programs"
    return 0
}

if can_run_32bit; then
    preset=windows
    verdict="Windows tests: the 32-bit build (preset windows) ran under wine, because $REASON."
else
    preset=windows64
    verdict="Windows tests: the 64-bit build (preset windows64) ran under wine64, because $REASON; the 32-bit build's tests cannot run here."
fi

if [ "${1:-}" = "--choose" ]; then
    echo "$preset"
    echo "$REASON"
    exit 0
fi

echo "Windows tests will run with preset $preset: $REASON."
if [ "$preset" = windows64 ]; then
    cmake --preset windows64
    cmake --build --preset windows64 -j "$JOBS"
fi
mkdir -p build
rm -f build/windows-tests.txt
ctest --preset "$preset" -j "$JOBS"
echo "$verdict" | tee build/windows-tests.txt
