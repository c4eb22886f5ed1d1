#!/bin/sh
# Runs a Windows program under Wine in a private 32-bit prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
prefix="$1"; shift
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
# No Mono or Gecko downloads: the machine reaches no web site.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$prefix"
exec wine "$@"
