#!/bin/bash
# Screenshots of the updater window in every phase for docs/, drawn by the
# headless host with cairo through uidriver, against a local update server
# with a published release (and the faults that some phases need).
#   scripts/renew-screenshots.sh [BIN_DIR] [OUT_DIR]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(cd "${1:-build/linux/bin}" && pwd)"
out="$(mkdir -p "${2:-docs}" && cd "${2:-docs}" && pwd)"
if [ -z "${QH_TEST_SERVER:-}" ]; then
    exec python3 "$root/tests/support/http_test_server.py" -- "$0" "$bin" "$out"
fi
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
served="$QH_TEST_SERVER_ROOT/qingheupdate"
mkdir -p "$work/release/skin"
printf 'calculator 506' >"$work/release/QingheCalc"
head -c 2500000 /dev/zero >"$work/release/skin/bg.png"
printf 'updater 506' >"$work/release/renew.ex_"
printf '修正了组合贷款的月供计算。\n新增二手房交易税的满五唯一减免。\n利率表更新到最新基准利率。\n' >"$work/notes.txt"
"$bin/qinghe-publish" --release "$work/release" --version 1.0.0.506 --notes "$work/notes.txt" --out "$served" >/dev/null
cp "$root/tests/renew/server/renew_ad."* "$served/"
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }
shoot() {
    local version="$1"; shift
    local dir; dir="$(mktemp -d -p "$work")"
    printf 'calculator 503' >"$dir/QingheCalc"
    printf '%s\n' "$@" 'quit' |
        "$bin/uidriver" --program-dir "$dir" renew -s "$(hex QingheCalc)" "$(hex "$version")" "$(hex 1)" >/dev/null
}
shoot 1.0.0.503 "shot $out/renew-checking-linux.png" 'wait 800' "shot $out/renew-notes-linux.png"
shoot 1.0.0.506 'wait 800' "shot $out/renew-current-linux.png"
shoot 1.0.0.503 'wait 800' 'click MainButton' 'wait 1200' "shot $out/renew-list-linux.png"
printf '/qingheupdate/skin\\bg.png trickle\n' >"$QH_TEST_SERVER_ROOT/.faults"
shoot 1.0.0.503 'wait 800' 'click MainButton' 'wait 1200' 'click MainButton' 'wait 1500' \
    "shot $out/renew-downloading-linux.png"
printf '/qingheupdate/skin\\bg.png 404\n' >"$QH_TEST_SERVER_ROOT/.faults"
shoot 1.0.0.503 'wait 800' 'click MainButton' 'wait 1200' 'click MainButton' 'wait 1500' \
    "shot $out/renew-failed-linux.png"
rm -f "$QH_TEST_SERVER_ROOT/.faults"
shoot 1.0.0.503 'wait 800' 'click MainButton' 'wait 1200' 'click MainButton' 'wait 2500' \
    "shot $out/renew-staged-linux.png" 'click CaptionClose' 'wait 200'
shoot 1.0.0.503 'wait 800' 'click CaptionClose' 'wait 300' 'window 提示：' "shot $work/box.png"
# The confirmation box over the updater window, as they stand on the screen.
shoot 1.0.0.503 'wait 800' "shot $work/under.png"
convert "$work/under.png" "$work/box.png" -geometry +90+100 -composite "$out/renew-confirm-linux.png"
echo "wrote $out/renew-*-linux.png"
