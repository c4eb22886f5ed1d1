#!/bin/sh
# The screenshots of the toolkit in docs/: the states sheet (toolkit-demo
# --states, every control kind in every state) drawn with cairo and with
# GDI+, and the two side by side.
#   cairo: the Linux build's uidriver runs the sheet in the headless host
#          and writes the window as the user would see it;
#   GDI+:  the Windows build runs under Wine on a private Xvfb, and the
#          window is cut from a shot of the X screen.
# Usage: scripts/toolkit-screenshots.sh [LINUX_BUILD [WINDOWS_BUILD]]
# (default build/linux and build/windows, both built; the Windows build's
# wine prefix is the one its tests made, or is made now.)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
LINUX=${1:-$ROOT/build/linux}
WINDOWS=${2:-$ROOT/build/windows}
DOCS=$ROOT/docs
TITLE='青禾控件状态一览'
export LC_ALL=C.UTF-8

# Second stage, on the private display: the GDI+ shot into $3.
if [ "${1:-}" = "--gdiplus-shot" ]; then
    RUN="$ROOT/cmake/wine-run.sh"
    PREFIX="$2/wineprefix"
    "$RUN" "$PREFIX" "$2/bin/toolkit-demo.exe" --states & PID=$!
    W=""; GEOMETRY=""
    # Wine may replace the X window once the window becomes layered: look
    # it up until its geometry can be read.
    for i in $(seq 1 150); do
        sleep 0.2
        W=$(xdotool search --name "^$TITLE\$" 2>/dev/null | tail -1)
        [ -n "$W" ] && GEOMETRY=$(xdotool getwindowgeometry --shell "$W" 2>/dev/null) && [ -n "$GEOMETRY" ] && break
    done
    [ -n "$GEOMETRY" ] || { echo "toolkit-screenshots: no window titled $TITLE" >&2; kill $PID; exit 1; }
    eval "$GEOMETRY"
    # The buttons' faces fade in; the shot waits until they are done.
    sleep 6
    TMP=$(mktemp -d)
    import -window root "$TMP/screen.png"
    convert "$TMP/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$3"
    rm -rf "$TMP"
    kill $PID 2>/dev/null || true
    WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null || true
    exit 0
fi

# The faces fade in over a few timer ticks: the driver's clock moves past them.
printf 'wait 1000\nshot %s\nquit\n' "$DOCS/toolkit-states-cairo.png" |
    "$LINUX/bin/uidriver" toolkit-demo --states >/dev/null
"$ROOT/cmake/with-xvfb.sh" 1280x1024x24 "$0" --gdiplus-shot "$WINDOWS" "$DOCS/toolkit-states-gdiplus.png"
# Side by side, cairo left, GDI+ right, each under its name.
montage -label cairo "$DOCS/toolkit-states-cairo.png" -label GDI+ "$DOCS/toolkit-states-gdiplus.png" \
    -tile 2x1 -geometry +8+8 -font DejaVu-Sans -pointsize 16 "$DOCS/toolkit-states-side-by-side.png"
echo "wrote docs/toolkit-states-cairo.png, docs/toolkit-states-gdiplus.png, docs/toolkit-states-side-by-side.png"
