#!/bin/bash
# Names with spaces and Chinese characters reach a plain static server: a
# release holding "read me.txt", "说明.txt" and a file in a Chinese-named
# folder, published with qinghe-publish and served as it stands by
# `python3 -m http.server` (which maps each %XX of a request to the UTF-8
# file name, as nginx does), is downloaded and installed in full.
#   served_names_test.sh UIDRIVER QINGHE_PUBLISH
set -u
driver="$1"
publish="$2"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
server=""
trap '[ -n "$server" ] && kill "$server"; rm -rf "$work"' EXIT
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }
names=("QingheCalc" "read me.txt" "说明.txt" "资料/价格 表%#.txt")

mkdir -p "$work/release/资料"
for name in "${names[@]}"; do printf 'new %s' "$name" >"$work/release/$name"; done
printf 'notes\n' >"$work/notes.txt"
"$publish" --release "$work/release" --version 1.0.0.506 --notes "$work/notes.txt" --out "$work/site/up" \
    >/dev/null || fail "publish"

# The static server on a free port of its own choosing; it names the port in
# its first line.
python3 -u -m http.server --bind 127.0.0.1 --directory "$work/site" 0 >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do grep -q 'port [0-9]' "$work/server.log" && break; sleep 0.1; done
port="$(grep -o 'port [0-9]*' "$work/server.log" | head -1 | cut -d' ' -f2)"
[ -n "$port" ] || { fail "the static server did not start: $(cat "$work/server.log")"; exit 1; }
export QINGHE_UPDATE_URL="http://127.0.0.1:$port/up/"
export QINGHE_SITE_URL="http://127.0.0.1:9/site"
unset BROWSER

dir="$work/prog"
mkdir -p "$dir"
printf 'calculator 503' >"$dir/QingheCalc"
out="$(printf '%s\n' 'wait 1000' 'click MainButton' 'wait 1500' 'click MainButton' 'wait 2000' \
    'cells DownloadList' 'print CancelButton' 'click CancelButton' 'wait 500' |
    "$driver" --program-dir "$dir" renew -s "$(hex QingheCalc)" "$(hex 1.0.0.503)" "$(hex 4321)")"
rows="$(echo "$out" | grep -cP '\t下载完毕\t')"
[ "$rows" = 4 ] || fail "downloaded rows: $rows: $out"
for name in "${names[@]}"; do
    cmp -s "$work/release/$name" "$dir/$name" || fail "not installed: $name"
done
# The banner's files are not part of this release.
missed="$(grep ' 404 ' "$work/server.log" | grep -v renew_ad)"
[ -z "$missed" ] || fail "the server was asked for names it does not hold: $missed"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
