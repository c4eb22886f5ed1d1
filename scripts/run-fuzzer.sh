#!/bin/sh
# Runs one libFuzzer target of build/fuzz for a bounded time.
# Usage: run-fuzzer.sh TARGET SECONDS SEED_CORPUS
# New inputs it finds stay in build/fuzz/corpus-TARGET for the next run; the
# whole log is build/fuzz/TARGET.log, and its tail is shown when it fails.
set -eu
target="$1"; seconds="$2"; seeds="$3"
corpus="build/fuzz/corpus-$target"
log="build/fuzz/$target.log"
mkdir -p "$corpus"
if ! "build/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$corpus" "$seeds" > "$log" 2>&1; then
    tail -n 80 "$log"
    exit 1
fi
printf '%s: ' "$target"
grep -E '^Done' "$log"
