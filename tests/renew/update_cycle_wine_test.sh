#!/bin/bash
# The whole update cycle with the Windows programs under Wine, against a real
# server on 127.0.0.1 (tests/support/http_test_server.py starts it around
# this script): real processes start each other as on Windows.
#   1. A program folder holds version 1.0.0.505: QingheCalc.exe and renew.exe.
#   2. qinghe-publish.exe puts 1.0.0.506 on the server: both programs change
#      (the updater delivered as renew.ex_) and a file in a subfolder is new.
#   3. The calculator starts; its background check starts renew.exe -h,
#      which stages every changed file and writes the state file.
#   4. The next start of the calculator hands off to renew.exe -m, which
#      makes the running calculator quit (message 1024), installs, records
#      DisplayVersion and starts the calculator again.
#   5. That start moves renew.ex_ over renew.exe.
# The server is signed with the tests' key (by qinghe-publish.exe, through
# CryptoAPI) and the updater is the build with the tests' public key, as a
# release build has the maker's.
# At the end the folder equals the release byte for byte and no state file
# is left.
#   update_cycle_wine_test.sh BIN_DIR WINE_PREFIX [INSTALLED_FOLDER]
# With INSTALLED_FOLDER (the Windows path of an installation the setup
# program made in that prefix), the cycle updates that installation, as
# recorded by the setup program, instead of a copy of the build's programs.
set -u
BIN="$1"
PREFIX="$2"
INSTALLED="${3:-}"
RUN="$(cd "$(dirname "$0")/../../cmake" && pwd)/wine-run.sh"
export LC_ALL=C.UTF-8
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/"
export QINGHE_SITE_URL="http://127.0.0.1:9/site"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
# With an installation, the caller's test goes on with the prefix.
cleanup() { [ -n "$INSTALLED" ] || WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\青禾计算器'
# Waits up to 90 s for a condition (a shell command).
await() { for _ in $(seq 1 180); do eval "$1" && return 0; sleep 0.5; done; return 1; }

# The release: the same programs with a mark appended (Windows runs a file
# with bytes after its image), a new picture and an unchanged text.
mkdir -p "$work/release/skin" "$work/prog"
{ cat "$BIN/QingheCalc.exe"; printf 'release 1.0.0.506'; } >"$work/release/QingheCalc.exe"
{ cat "$BIN/renew_test_keyed.exe"; printf 'release 1.0.0.506'; } >"$work/release/renew.ex_"
cp "$(dirname "$0")/../support/update-test-key.pem" "$work/key.pem"
head -c 200000 /dev/urandom >"$work/release/skin/bg.png"
printf 'read me' >"$work/release/readme.txt"
printf 'new version\n' >"$work/notes.txt"
"$RUN" "$PREFIX" "$BIN/qinghe-publish.exe" --release "$(winpath "$work/release")" --version 1.0.0.506 \
    --notes "$(winpath "$work/notes.txt")" --out "$(winpath "$QH_TEST_SERVER_ROOT/qingheupdate")" \
    --key "$(winpath "$work/key.pem")" >/dev/null || fail "publish"
[ -s "$QH_TEST_SERVER_ROOT/qingheupdate/renew.xml.sig" ] || fail "the server is not signed"

if [ -n "$INSTALLED" ]; then
    # The installation as the setup program left it.
    prog="$PREFIX/drive_c/$(printf '%s' "${INSTALLED#[Cc]:\\}" | tr '\\' /)"
    calc="$INSTALLED\QingheCalc.exe"
    [ -f "$prog/QingheCalc.exe" ] || fail "no installation at $INSTALLED"
else
    # Version 1.0.0.505 as installed.
    prog="$work/prog"
    calc="$prog/QingheCalc.exe"
    cp "$BIN/QingheCalc.exe" "$prog/"
    cp "$BIN/renew_test_keyed.exe" "$prog/renew.exe"
    printf 'read me' >"$prog/readme.txt"
    "$RUN" "$PREFIX" reg add "$key" /v DisplayVersion /d 1.0.0.505 /f >/dev/null 2>&1 || fail "registry"
fi
cp "$prog/QingheCalc.exe" "$work/before.exe"

# 3. The calculator's background check runs the hidden updater.
"$RUN" "$PREFIX" "$calc" >/dev/null 2>&1 &
await '[ -f "$prog/update/config.xml" ] && grep -q "St=\"1\"" "$prog/update/config.xml"' ||
    fail "no state file from renew.exe -h"
cmp -s "$work/before.exe" "$prog/QingheCalc.exe" || fail "renew.exe -h installed something"

# 4. The next start hands off and the update goes in.
"$RUN" "$PREFIX" "$calc" >/dev/null 2>&1 &
await '[ ! -e "$prog/update/config.xml" ]' || fail "the update did not complete"
for f in QingheCalc.exe skin/bg.png readme.txt; do
    cmp -s "$work/release/$f" "$prog/$f" || fail "differs from the release: $f"
done
"$RUN" "$PREFIX" reg query "$key" /v DisplayVersion 2>/dev/null | grep -q '1\.0\.0\.506' || fail "DisplayVersion"

# 5. The elevated updater starts the calculator again only as the signed-in
# user, through the desktop shell, which Wine does not have: it starts none.
# The user's next start moves the new updater into place.
sleep 2
quit="$("$RUN" "$PREFIX" "$BIN/notify.exe" Ex_DirectUI 青禾计算器 | tr -d '\r')"
[ "${quit:-0}" -eq 0 ] 2>/dev/null || fail "the elevated updater started the calculator itself: '$quit'"
"$RUN" "$PREFIX" "$calc" >/dev/null 2>&1 &
await '[ ! -e "$prog/renew.ex_" ] && cmp -s "$work/release/renew.ex_" "$prog/renew.exe"' ||
    fail "the new updater was not moved into place"
# The calculator runs; message 1024 ends it.
await '[ "$("$RUN" "$PREFIX" "$BIN/notify.exe" Ex_DirectUI 青禾计算器 | tr -d "\r")" -ge 1 ] 2>/dev/null' ||
    fail "no calculator running after the update"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
