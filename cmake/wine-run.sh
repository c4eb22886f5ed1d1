#!/bin/sh
# Runs a Windows program under Wine in a private 32-bit prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
# Windows need an X display: without DISPLAY, a private Xvfb is started for
# this one run (the display number is chosen by Xvfb itself, so parallel runs
# never collide).
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

number_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number_file" >/dev/null 2>&1 &
xvfb=$!
i=0
while [ ! -s "$number_file" ] && [ $i -lt 100 ]; do sleep 0.05; i=$((i + 1)); done
DISPLAY=":$(cat "$number_file")"
export DISPLAY
wine "$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
rm -f "$number_file"
exit $status
