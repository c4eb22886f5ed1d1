#!/bin/sh
# The committed images in calc/shell/art/ are what the drawing code makes:
# draws them again into a temporary folder and compares byte for byte, and
# checks that no image is missing on either side.
#   calc_artwork_reproducible_test.sh CALC_ARTWORK ART_DIR
set -eu
tool=$1
art=$2
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT

"$tool" "$fresh"
status=0
for f in "$fresh"/*; do
    name=$(basename "$f")
    if [ ! -f "$art/$name" ]; then
        echo "not committed: calc/shell/art/$name"
        status=1
    elif ! cmp -s "$f" "$art/$name"; then
        echo "differs from the drawing code: calc/shell/art/$name (run scripts/build-artwork.sh)"
        status=1
    fi
done
for f in "$art"/*.png "$art"/*.jpg; do
    [ -f "$fresh/$(basename "$f")" ] || { echo "no longer drawn: calc/shell/art/$(basename "$f")"; status=1; }
done
[ "$status" -eq 0 ] && echo "$(ls "$fresh" | wc -l) images match calc/shell/art/"
exit "$status"
