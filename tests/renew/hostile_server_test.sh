#!/bin/bash
# The updater with the maker's key (uidriver --update-key, as a keyed build
# runs) against a server that means harm, on 127.0.0.1 (started around this
# script by tests/support/http_test_server.py): a file that streams without
# end, one that announces more than the signed list gives it, a huge
# banner, a banner the list does not name, a banner target with quotes and
# a list entry without a digest. Each case stages nothing bad, stays within
# bounded memory, disk and time, and shows a clear failure; the banner falls
# back to the built-in picture, and a click on it opens nothing.
#   hostile_server_test.sh UIDRIVER QINGHE_PUBLISH
set -u
driver="$1"
publish="$2"
here="$(cd "$(dirname "$0")" && pwd)"
key="$here/../support/update-test-key.pem"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap '[ -n "${QH_KEEP:-}" ] || rm -rf "$work"' EXIT
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/"
export QINGHE_SITE_URL="http://127.0.0.1:9/site"
unset BROWSER
served="$QH_TEST_SERVER_ROOT/qingheupdate"
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }
# The most memory (KiB) a run may take: the good run's peak (about 36 MB
# natively, several times that under a sanitizer) and this much more. A
# 17 MiB banner kept whole (the answer, its copy, the picture) would add more
# than this allows; an endless one would grow without end.
rss_margin_kib=24000
max_rss_kib=
# The most seconds a run may take, the endless stream's included.
max_seconds=30

mkdir -p "$work/release"
head -c 300000 /dev/urandom >"$work/release/QingheCalc"
printf 'notes 1.0.0.506\n' >"$work/notes.txt"
"$publish" --release "$work/release" --version 1.0.0.506 --notes "$work/notes.txt" --out "$work/server" \
    --key "$key" >/dev/null || fail "publish"

# Serves the release again with its list rewritten and signed anew: every
# file's Size, a Banner child naming the given banner files (with their
# digests and sizes as they are in the folder), and the Hash and Sha256 of
# the entry NODIGEST taken away.
serve() {
    local banner="$1" nodigest="${2:-}"
    rm -rf "$served" "$QH_TEST_SERVER_ROOT/.faults"; cp -r "$work/server" "$served"
    cp "$here/server/renew_ad.png" "$here/server/renew_ad.tips" "$served/"
    printf 'http://127.0.0.1:9/banner' >"$served/renew_ad.txt"
    [ -n "${3:-}" ] && printf '%s' "$3" >"$served/renew_ad.txt"
    python3 - "$served" "$banner" "$nodigest" <<'PY' || fail "rewrite the list"
import hashlib, os, re, sys
folder, banner, nodigest = sys.argv[1], sys.argv[2].split(), sys.argv[3]
path = os.path.join(folder, "renewlist.xml")
text = open(path, "rb").read().decode("gbk")
text = re.sub(r"\s*<Banner\b.*?</Banner>", "", text, flags=re.S)
text = re.sub(r' Size="\d*"', "", text)
def entry(name):
    data = open(os.path.join(folder, name), "rb").read()
    return '<File Name="%s" Hash="%s" Sha256="%s" Size="%d"/>' % (
        name, hashlib.md5(data).hexdigest().upper(), hashlib.sha256(data).hexdigest().upper(), len(data))
def sized(match):
    name = match.group(1)
    whole = match.group(0)
    if name == nodigest:
        whole = re.sub(r' (Hash|Sha256)="[^"]*"', "", whole)
    size = os.path.getsize(os.path.join(folder, name))
    return whole.replace("/>", ' Size="%d"/>' % size, 1)
text = re.sub(r'<File Name="([^"]*)"[^>]*/>', sized, text)
if banner:
    listed = "<Banner>" + "".join(entry(name) for name in banner) + "</Banner>"
    text = re.sub(r"(</RenewList>)", listed + r"\1", text)
open(path, "wb").write(text.encode("gbk"))
PY
    openssl dgst -sha256 -sign "$key" -out "$served/renewlist.xml.sig" "$served/renewlist.xml" ||
        fail "sign the list"
}
# plan PATH KIND: the server's fault for one file of the release.
plan() { printf '/qingheupdate/%s %s\n' "$1" "$2" >"$QH_TEST_SERVER_ROOT/.faults"; }

# Runs the keyed updater on a program folder holding 1.0.0.503 through the
# version, file-list and download stages, prints what it showed and, last,
# its peak memory and its seconds ("rss=KIB seconds=S").
run() {
    local dir="$work/prog-$1"
    rm -rf "$dir"; mkdir -p "$dir"
    printf 'calculator 503' >"$dir/QingheCalc"
    printf '%s\n' 'wait 1500' "shot $work/shot-$1.png" 'click Banner' 'started' \
        'click MainButton' 'wait 1500' 'print StatusLabel' 'print MainButton' \
        'click MainButton' 'wait 3000' 'print StatusLabel' 'cells DownloadList' 'quit' |
        /usr/bin/time -f 'rss=%M seconds=%e' -o "$work/usage" \
            "$driver" --program-dir "$dir" --update-key "$key.pub" renew -s "$(hex QingheCalc)" \
            "$(hex 1.0.0.503)" "$(hex 4321)"
    cat "$work/usage"
}
rss_of() { echo "$1" | sed -n 's/^rss=\([0-9]*\) .*/\1/p'; }
bounded() {
    local out="$1" rss seconds
    rss="$(rss_of "$out")"
    seconds="$(echo "$out" | sed -n 's/.* seconds=\([0-9]*\).*/\1/p')"
    [ -n "$rss" ] && [ "$rss" -lt "$max_rss_kib" ] || fail "$2: memory not bounded: ${rss:-?} KiB"
    [ -n "$seconds" ] && [ "$seconds" -lt "$max_seconds" ] || fail "$2: time not bounded: ${seconds:-?} s"
}
# Nothing staged, partly or whole, exceeds the listed size.
staged_within() {
    local big
    big="$(find "$work/prog-$1/update" -type f -size +300000c 2>/dev/null)"
    [ -z "$big" ] || fail "$1: staged past the listed size: $big"
}
requests() { grep -c "GET /qingheupdate/$1" "$QH_TEST_SERVER_LOG"; }
banner_opened() { echo "$1" | grep -q '^xdg-open .*banner'; }

# The good case: the listed banner is shown and opens its target, and the
# file downloads.
serve "renew_ad.png renew_ad.txt renew_ad.tips"
out="$(run good)"
good_rss="$(rss_of "$out")"
[ -n "$good_rss" ] || fail "good: no memory reading: $out"
max_rss_kib=$((${good_rss:-0} + rss_margin_kib))
echo "$out" | grep -qP '^QingheCalc\t.*\t下载完毕\t' || fail "good: not downloaded: $out"
banner_opened "$out" || fail "good: the listed banner opened nothing: $out"
bounded "$out" good

# A file that streams without end, and one that announces twice its listed
# size: 下载失败, the failure shown, nothing kept.
for fault in endless long; do
    serve "renew_ad.png renew_ad.txt renew_ad.tips"
    plan QingheCalc "$fault"
    out="$(run "$fault")"
    echo "$out" | grep -qP '^QingheCalc\t.*\t下载失败\t' || fail "$fault: not a failed row: $out"
    echo "$out" | grep -qx 'StatusLabel=文件更新失败,请检查网络连接!' || fail "$fault: no failure shown: $out"
    staged_within "$fault"
    [ -z "$(find "$work/prog-$fault/update" -type f -name '*' ! -name '*.xml*' 2>/dev/null)" ] ||
        fail "$fault: bytes kept: $(find "$work/prog-$fault/update" -type f)"
    bounded "$out" "$fault"
done

# A huge and an endless banner picture: the built-in picture, the same as
# when the list names no banner at all, whose files are then never asked for.
serve ""
before="$(requests renew_ad)"
out="$(run unlisted)"
[ "$(requests renew_ad)" = "$before" ] || fail "unlisted: a banner the list does not name was fetched"
banner_opened "$out" && fail "unlisted: the unlisted banner opened: $out"
bounded "$out" unlisted
for fault in huge endless; do
    serve "renew_ad.png renew_ad.txt renew_ad.tips"
    plan renew_ad.png "$fault"
    out="$(run "banner-$fault")"
    cmp -s "$work/shot-unlisted.png" "$work/shot-banner-$fault.png" ||
        fail "banner-$fault: not the built-in picture"
    bounded "$out" "banner-$fault"
done
cmp -s "$work/shot-unlisted.png" "$work/shot-good.png" && fail "good: the listed banner was not shown"

# A target with quotes, validly listed: dropped, and the click does nothing.
serve "renew_ad.png renew_ad.txt renew_ad.tips" "" 'http://127.0.0.1:9/banner" --evil "x'
out="$(run quotes)"
banner_opened "$out" && fail "quotes: the target with quotes was opened: $out"
echo "$out" | grep -q '^xdg-open' && fail "quotes: something was opened: $out"

# A list entry without a digest: the list fails as a failed request.
serve "" QingheCalc
out="$(run nodigest)"
echo "$out" | grep -qx 'StatusLabel=连接服务器失败!' || fail "nodigest: not refused: $out"
echo "$out" | grep -qx 'MainButton=重新连接' || fail "nodigest: no 重新连接: $out"
[ ! -e "$work/prog-nodigest/update" ] || fail "nodigest: staged: $(find "$work/prog-nodigest/update")"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
