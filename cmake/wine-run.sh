#!/bin/sh
# Runs a Windows program under Wine in a private 32-bit prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
prefix="$1"; shift
mkdir -p "$prefix"
prefix="$(cd "$prefix" && pwd)"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
# No Mono or Gecko downloads: the machine reaches no web site.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine reads the Unix command line in the locale's encoding; UTF-8 keeps
# Chinese arguments intact.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
exec wine "$@"
