#!/bin/sh
# Runs a command on a private Xvfb display and stops the server afterwards.
# Xvfb picks a free display number itself (-displayfd), so tests started in
# parallel never share or race for a display, as "xvfb-run -a" can; and it
# never resets between clients (-noreset), so a test that connects right
# after another one disconnected finds the server ready.
# Usage: with-xvfb.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENTS...]
screen="$1"; shift
number_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$number_file" >/dev/null 2>&1 &
xvfb=$!
i=0
while [ ! -s "$number_file" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done
if [ ! -s "$number_file" ]; then
    echo "with-xvfb: Xvfb did not start" >&2
    kill "$xvfb" 2>/dev/null
    rm -f "$number_file"
    exit 1
fi
DISPLAY=":$(cat "$number_file")"
export DISPLAY
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
rm -f "$number_file"
exit $status
