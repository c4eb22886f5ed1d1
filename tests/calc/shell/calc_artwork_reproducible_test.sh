#!/bin/sh
# The committed images are what the drawing code makes: the calculator's in
# calc/shell/art/ and the update server's banner in tests/renew/server/.
# Draws them again into temporary folders and compares byte for byte, and
# checks that no image is missing on either side.
#   calc_artwork_reproducible_test.sh CALC_ARTWORK ART_DIR SERVER_DIR
set -eu
tool=$1
art=$2
server=$3
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
mkdir "$fresh/art" "$fresh/server"

"$tool" "$fresh/art" "$fresh/server"
status=0
# compare FRESH COMMITTED: every image of one folder against the other.
compare() {
    for f in "$1"/*; do
        name=$(basename "$f")
        if [ ! -f "$2/$name" ]; then
            echo "not committed: $2/$name"
            status=1
        elif ! cmp -s "$f" "$2/$name"; then
            echo "differs from the drawing code: $2/$name (run scripts/build-artwork.sh)"
            status=1
        fi
    done
    for f in "$2"/*.png "$2"/*.jpg; do
        [ -f "$f" ] || continue
        [ -f "$1/$(basename "$f")" ] || { echo "no longer drawn: $f"; status=1; }
    done
}
compare "$fresh/art" "$art"
compare "$fresh/server" "$server"
[ "$status" -eq 0 ] && echo "$(ls "$fresh/art" "$fresh/server" | grep -c '\.')" "images match"
exit "$status"
