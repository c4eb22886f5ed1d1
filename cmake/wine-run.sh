#!/bin/sh
# Runs a Windows program under Wine in a private prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
#
# The prefix's architecture picks the Wine: a 32-bit prefix runs under the
# 32-bit loader ("wine"), a 64-bit one under wine64 alone, so machines that
# cannot run 32-bit programs never start a 32-bit loader. A prefix that does
# not exist yet is made with WINEARCH (default win32); Wine writes the choice
# into the prefix's system.reg, and later runs read it from there.
# Windows need an X display: without DISPLAY, the run gets a private Xvfb.
prefix="$1"; shift
mkdir -p "$prefix"
prefix="$(cd "$prefix" && pwd)"
if [ -f "$prefix/system.reg" ]; then
    if grep -q '^#arch=win64' "$prefix/system.reg"; then arch=win64; else arch=win32; fi
else
    arch="${WINEARCH:-win32}"
fi
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all
if [ "$arch" = win64 ]; then
    # Debian puts wine64 beside the 32-bit loader rather than on PATH.
    wine=/usr/lib/wine/wine64
    export WINELOADER="$wine"
else
    wine=wine
fi
# No Mono or Gecko downloads: the machine reaches no web site.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine reads the Unix command line in the locale's encoding; UTF-8 keeps
# Chinese arguments intact.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

# A Linux program (a test's script or server, which CMake runs through this
# file as the cross build's emulator) runs as it is, with the prefix named:
# started through Wine its exit status would be lost, and a failed test
# would pass.
if [ -f "$1" ]; then
    case "$(head -c 4 "$1" | od -An -c | tr -d ' ')" in
        177ELF | '#!'*) exec "$@" ;;
    esac
fi

if [ -n "${DISPLAY:-}" ] || ! command -v Xvfb >/dev/null 2>&1; then
    exec "$wine" "$@"
fi
exec "$(dirname "$0")/with-xvfb.sh" 1280x1024x24 "$wine" "$@"
