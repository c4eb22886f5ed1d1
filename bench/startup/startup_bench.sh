#!/bin/sh
# Start-up of QingheCalc against the least an Xlib + cairo program that shows
# a line of text needs, on a private Xvfb: the time from spawn to the first
# mapped window and the resident memory at that moment, medians of RUNS runs;
# and the calculator again at display scale 2.
#   bench/startup/startup_bench.sh [BIN_DIR] [RUNS]
set -eu
# No update server: nothing here reaches the network or starts the updater.
export QINGHE_UPDATE_URL=none
bin="${1:-build/linux/bin}"
runs="${2:-15}"
here="$(dirname "$0")"
exec "$here/../../cmake/with-xvfb.sh" 1280x800x24 sh -c '
    bin="$1"; runs="$2"
    # A program folder of its own, so no update state of a real one is read.
    dir="$(mktemp -d)"; cp "$bin/QingheCalc" "$dir/"
    set -- $("$bin/map_timer" "$runs" "$bin/startup_reference")
    ref_ms=$1; ref_kib=$2
    set -- $("$bin/map_timer" "$runs" "$dir/QingheCalc")
    calc_ms=$1; calc_kib=$2
    # The same at scale 2 (four times the pixels to draw).
    set -- $(QINGHE_SCALE=2 "$bin/map_timer" "$runs" "$dir/QingheCalc")
    calc2_ms=$1; calc2_kib=$2
    # Where the time goes: the phases of one more run, as the calculator
    # traces them (milliseconds since the previous mark, since the spawn).
    echo "phases of one traced run (ms: since the previous mark, since the spawn):"
    QINGHE_TRACE_STARTUP=1 "$bin/map_timer" --linger 500 1 "$dir/QingheCalc" 2>&1 >/dev/null |
        sed -n "s/^startup:/ /p"
    rm -rf "$dir"
    echo "reference (Xlib + cairo, one line): ${ref_ms} ms to the first mapped window, ${ref_kib} KiB resident"
    echo "QingheCalc:                        ${calc_ms} ms to the first mapped window, ${calc_kib} KiB resident"
    echo "QingheCalc at scale 2:             ${calc2_ms} ms to the first mapped window, ${calc2_kib} KiB resident"
    awk -v a="$calc_ms" -v b="$ref_ms" -v c="$calc_kib" -v d="$ref_kib" \
        "BEGIN { printf \"ratios: start-up %.2fx, resident memory %.2fx\n\", a / b, c / d }"
' sh "$bin" "$runs"
