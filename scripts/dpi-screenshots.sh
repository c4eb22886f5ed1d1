#!/bin/bash
# Screenshots at 100 % and 200 % for docs/, drawn by the headless host with
# cairo through uidriver at scales 1 and 2: the calculator's main window with
# its results window docked, the plan window, and the updater with its
# release notes. The program folder holds the shipped rules document.
#   scripts/dpi-screenshots.sh [BIN_DIR] [OUT_DIR]
set -eu
export QINGHE_UPDATE_URL=none
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(cd "${1:-build/linux/bin}" && pwd)"
out="$(mkdir -p "${2:-docs}" && cd "${2:-docs}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program"
cp "$bin/rules.xml" "$work/program/"
for percent in 100 200; do
    scale=$((percent / 100))
    drive() { printf '%s\n' "$@" 'quit' | "$bin/uidriver" --scale "$scale" --program-dir "$work/program" QingheCalc >/dev/null; }
    # The housing example, and its results window docked at the right edge
    # less 9 logical pixels, the main window in front.
    drive 'type AmountEdit 100' 'type TermEdit 20' 'click CalcButton' "shot $work/main.png" 'window 计算结果' \
          "shot $work/results.png"
    convert -size $((811 * scale))x$((440 * scale)) xc:none "$work/results.png" -geometry +$((591 * scale))+0 -composite \
            "$work/main.png" -geometry +0+0 -composite "$out/dpi-calc-$percent-linux.png"
    drive 'click SideMenu[6]' 'wait 100' 'window 还款计划' 'key PlanFirstMonth Ctrl+A' 'key PlanFirstMonth Delete' \
          'type PlanFirstMonth 2026-01' 'type PlanEventMonth 2028-12' 'type PlanEventValue 200000' \
          'click PlanAddEvent' 'wait 300' "shot $out/dpi-plan-$percent-linux.png"
    QINGHE_SCALE=$scale "$root/scripts/renew-screenshots.sh" "$bin" "$work/renew" >/dev/null
    cp "$work/renew/renew-notes-linux.png" "$out/dpi-renew-$percent-linux.png"
done
echo "wrote $out/dpi-*-linux.png"
