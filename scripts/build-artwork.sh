#!/bin/sh
# Draws the calculator's images again (tools/artwork) and writes them into
# calc/shell/art/, from where every build, the cross builds too, embeds them,
# and the updater banner that the tests' update server serves into
# tests/renew/server/.
# Run it after changing the drawing code, and commit the images with it; the
# test calc_artwork_reproducible fails until the two agree.
#
#   scripts/build-artwork.sh [BUILD_DIR]     (default: build/linux)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" --preset linux -B "$build"
fi
cmake --build "$build" --target calc_artwork
"$build/bin/calc_artwork" "$root/calc/shell/art" "$root/tests/renew/server"
echo "Wrote the images into calc/shell/art/:"
ls -l "$root/calc/shell/art" | grep -v CMakeLists.txt
