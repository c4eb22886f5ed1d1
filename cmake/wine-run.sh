#!/bin/sh
# Runs a Windows program under Wine in a private 32-bit prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
# Windows need an X display: without DISPLAY, the run gets a private Xvfb.
prefix="$1"; shift
mkdir -p "$prefix"
prefix="$(cd "$prefix" && pwd)"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
# No Mono or Gecko downloads: the machine reaches no web site.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine reads the Unix command line in the locale's encoding; UTF-8 keeps
# Chinese arguments intact.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

if [ -n "${DISPLAY:-}" ] || ! command -v Xvfb >/dev/null 2>&1; then
    exec wine "$@"
fi
exec "$(dirname "$0")/with-xvfb.sh" 1280x1024x24 wine "$@"
