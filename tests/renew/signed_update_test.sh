#!/bin/bash
# renew with the maker's public key (uidriver --update-key, as a keyed build
# runs) against a real server on 127.0.0.1 whose documents are signed with
# qinghe-publish --key: a good release is offered and downloaded; a forged
# list, swapped, foreign, truncated or missing signatures, a replayed older
# release and a list of another release are each refused as a failed
# request, with nothing downloaded; a kept list whose signature broke after
# the download installs nothing. An updater without a key takes the
# signed server as before.
#   signed_update_test.sh UIDRIVER QINGHE_PUBLISH
set -u
driver="$1"
publish="$2"
here="$(cd "$(dirname "$0")" && pwd)"
key="$here/../support/update-test-key.pem"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/"
export QINGHE_SITE_URL="http://127.0.0.1:9/site"
unset BROWSER
served="$QH_TEST_SERVER_ROOT/qingheupdate"
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

# Signed releases 1.0.0.502, 1.0.0.505 and 1.0.0.506, each in a folder of
# its own; a case copies one to the served folder and changes it.
release() {
    mkdir -p "$work/release-$1"
    printf 'calculator %s' "$1" >"$work/release-$1/QingheCalc"
    printf 'notes %s\n' "$1" >"$work/notes-$1.txt"
    "$publish" --release "$work/release-$1" --version "$1" --notes "$work/notes-$1.txt" \
        --out "$work/server-$1" --key "$key" >/dev/null || fail "publish $1"
}
for v in 1.0.0.502 1.0.0.505 1.0.0.506; do release "$v"; done
[ -s "$work/server-1.0.0.506/renew.xml.sig" ] && [ -s "$work/server-1.0.0.506/renewlist.xml.sig" ] ||
    fail "the publish wrote no signatures"
serve() { rm -rf "$served"; cp -r "$work/server-$1" "$served"; }

# Runs the updater on a program folder holding 1.0.0.503 through the version
# and the file-list stages and prints what they showed.
run() {
    local dir="$work/prog-$1"; shift
    mkdir -p "$dir"
    printf 'calculator 503' >"$dir/QingheCalc"
    printf '%s\n' 'wait 1000' 'print Notes' 'click MainButton' 'wait 1500' 'print StatusLabel' \
        'click MainButton' 'wait 1500' 'print StatusLabel' 'quit' |
        "$driver" --program-dir "$dir" "$@" renew -s "$(hex QingheCalc)" "$(hex 1.0.0.503)" "$(hex 4321)"
}
offered() { echo "$1" | grep -qx 'Notes=notes 1.0.0.506'; }
refused() { echo "$1" | grep -qx 'Notes=连接服务器失败!' || echo "$1" | grep -qx 'StatusLabel=连接服务器失败!'; }
nothing_staged() { [ ! -e "$work/prog-$1/update" ]; }

# The good release: offered, listed and downloaded.
serve 1.0.0.506
out="$(run good --update-key "$key.pub")"
offered "$out" || fail "a good signed release was not offered: $out"
[ -f "$work/prog-good/update/config.xml" ] || fail "a good signed release was not downloaded: $out"

# The kept list of the good release, its signature broken after the
# download: renew -m installs nothing and says so.
cp -r "$work/prog-good" "$work/prog-broken-kept"
python3 -c 'import sys; b = bytearray(open(sys.argv[1], "rb").read()); b[100] ^= 1; open(sys.argv[1], "wb").write(b)' \
    "$work/prog-broken-kept/update/renewlist.xml.sig"
out="$(printf '%s\n' 'window 提示：' 'print BoxText' 'click BoxButton1' |
    "$driver" --program-dir "$work/prog-broken-kept" --update-key "$key.pub" renew -m "$(hex QingheCalc)" \
        "$(hex 1.0.0.503)" "$(hex 4321)")"
echo "$out" | grep -q '^BoxText=更新未能完成' || fail "a broken kept signature was not reported: $out"
[ "$(cat "$work/prog-broken-kept/QingheCalc")" = 'calculator 503' ] || fail "a broken kept signature installed"
[ -f "$work/prog-broken-kept/update/config.xml" ] || fail "a broken kept signature removed the state file"

# Each forgery: refused, nothing downloaded.
refuse() {
    local name="$1"
    out="$(run "$name" --update-key "$key.pub")"
    refused "$out" || fail "$name was not refused: $out"
    nothing_staged "$name" || fail "$name downloaded something"
}
serve 1.0.0.506
sed -i -E '0,/Hash="[0-9A-F]{32}"/s//Hash="00000000000000000000000000000000"/' "$served/renewlist.xml"
refuse forged-digest
serve 1.0.0.506
sed -i 's/Name="QingheCalc"/Name="QingheCalc.evil"/' "$served/renewlist.xml"
refuse forged-name
serve 1.0.0.506
mv "$served/renew.xml.sig" "$work/sig" && mv "$served/renewlist.xml.sig" "$served/renew.xml.sig" &&
    mv "$work/sig" "$served/renewlist.xml.sig"
refuse swapped-signatures
serve 1.0.0.506
cp "$work/server-1.0.0.505/renew.xml.sig" "$served/renew.xml.sig"
refuse signature-of-another-version
serve 1.0.0.506
head -c 200 "$work/server-1.0.0.506/renewlist.xml.sig" >"$served/renewlist.xml.sig"
refuse truncated-signature
serve 1.0.0.506
rm "$served/renewlist.xml.sig"
refuse missing-list-signature
serve 1.0.0.506
rm "$served/renew.xml.sig"
refuse missing-version-signature
# An older release, whole and validly signed, served again as if it were new.
serve 1.0.0.502
refuse replayed-older-release
# This version's document with the validly signed list of another release.
serve 1.0.0.506
cp "$work/server-1.0.0.505/renewlist.xml" "$work/server-1.0.0.505/renewlist.xml.sig" "$served/"
refuse list-of-another-release

# A list that gives only the SHA-256 of a file: a file already as listed is
# not fetched again (it once was, at every run, against the missing MD5).
serve 1.0.0.506
sed -i -E 's/ Hash="[0-9A-F]{32}"//' "$served/renewlist.xml"
openssl dgst -sha256 -sign "$key" -out "$served/renewlist.xml.sig" "$served/renewlist.xml" || fail "re-sign"
mkdir -p "$work/prog-sha-only"
cp "$work/release-1.0.0.506/QingheCalc" "$work/prog-sha-only/QingheCalc"
printf '%s\n' 'wait 1000' 'click MainButton' 'wait 1500' 'quit' |
    "$driver" --program-dir "$work/prog-sha-only" --update-key "$key.pub" renew -s "$(hex QingheCalc)" \
        "$(hex 1.0.0.503)" "$(hex 4321)" >/dev/null
[ -f "$work/prog-sha-only/update/config.xml" ] || fail "a list of SHA-256 digests only was not taken"
[ ! -e "$work/prog-sha-only/update/$(hex QingheCalc)" ] || fail "a file as listed by its SHA-256 was fetched again"

# An updater built without a key takes the signed server as before.
serve 1.0.0.506
out="$(run unkeyed)"
offered "$out" || fail "an updater without a key refused the signed server: $out"
[ -f "$work/prog-unkeyed/update/config.xml" ] || fail "an updater without a key downloaded nothing: $out"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
