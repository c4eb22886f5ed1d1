#!/bin/bash
# The per-user archive: its contents, install.sh into a user's data folder
# (programs, the recorded version, a valid menu entry, icons), an install
# over an older one, the update cycle of the installed programs as real
# processes against the tests' server (tests/support/http_test_server.py
# starts it around this script, on a private Xvfb), and the uninstall.
#   archive_test.sh ARCHIVE VERSION_FILE BIN_DIR
set -u
ARCHIVE="$1"
VERSION="$(head -n 1 "$2")"
BIN="$3"
export LC_ALL=C.UTF-8
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap '"$BIN/notify" Ex_DirectUI 青禾计算器 >/dev/null 2>&1; rm -rf "$work"' EXIT
await() { for _ in $(seq 1 "${2:-120}"); do eval "$1" && return 0; sleep 0.5; done; return 1; }
name="$(basename "$ARCHIVE" .tar.gz)"
[ "$(basename "$ARCHIVE")" = "$name.tar.gz" ] || fail "file name $(basename "$ARCHIVE")"

tar -tzf "$ARCHIVE" | grep -v '/$' | sort >"$work/files"
sort >"$work/expected" <<EOF
$name/QingheCalc
$name/install.sh
$name/qinghe-calc.desktop.in
$name/icons/hicolor/16x16/apps/qinghe-calc.png
$name/icons/hicolor/256x256/apps/qinghe-calc.png
$name/icons/hicolor/32x32/apps/qinghe-calc.png
$name/icons/hicolor/48x48/apps/qinghe-calc.png
$name/renew
$name/rules.xml
EOF
diff "$work/expected" "$work/files" >&2 || fail "contents differ (above)"
tar -xzf "$ARCHIVE" -C "$work"

# The install, for a user whose data folder is inside the test.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data"
dest="$XDG_DATA_HOME/qinghe-calc"
entry="$XDG_DATA_HOME/applications/qinghe-calc.desktop"
key='Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\青禾计算器'
recorded() { iconv -f GBK -t UTF-8 "$dest/registry.txt" | sed -n "s/^$(printf '%s' "$key" | sed 's/\\/\\\\/g')\tDisplayVersion\t//p"; }
"$work/$name/install.sh" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "install.sh"; }
for program in QingheCalc renew; do
    [ -x "$dest/$program" ] || fail "not installed: $program"
done
cmp -s "$work/$name/rules.xml" "$dest/rules.xml" || fail "rules.xml not installed"
[ "$(recorded)" = "$VERSION" ] || fail "recorded version: '$(recorded)'"
desktop-file-validate "$entry" >&2 || fail "desktop-file-validate"
grep -qx "Exec=\"$dest/QingheCalc\"" "$entry" || fail "Exec: $(grep ^Exec "$entry")"
[ -f "$XDG_DATA_HOME/icons/hicolor/48x48/apps/qinghe-calc.png" ] || fail "icons"

# Installed again over an older version with an update staged for it: the
# other values of the store stay, the version is this one, and the staged
# update is gone so that it cannot go in over this version.
printf '%s\tDisplayVersion\t1.0.0.400\n%s\tOther\tkept\n' "$key" "$key" | iconv -f UTF-8 -t GBK >"$dest/registry.txt"
mkdir -p "$dest/update"
printf '<ALL St="1"/>' >"$dest/update/config.xml"
"$work/$name/install.sh" >"$work/install.log" 2>&1 || fail "install.sh over an older version"
[ "$(recorded)" = "$VERSION" ] || fail "version after a second install: '$(recorded)'"
iconv -f GBK -t UTF-8 "$dest/registry.txt" | grep -q "	Other	kept$" || fail "another value was lost"
[ ! -e "$dest/update" ] || fail "a staged update survived the install"

# The installed programs update themselves. The server offers 1.0.0.506:
# the calculator changes and a picture is new.
mkdir -p "$work/release/skin"
{ cat "$dest/QingheCalc"; printf 'release 1.0.0.506'; } >"$work/release/QingheCalc"
cp "$dest/renew" "$work/release/renew"
head -c 100000 /dev/urandom >"$work/release/skin/bg.png"
printf 'new version\n' >"$work/notes.txt"
"$BIN/qinghe-publish" --release "$work/release" --version 1.0.0.506 --notes "$work/notes.txt" \
    --out "$QH_TEST_SERVER_ROOT/qingheupdate" >/dev/null || fail "publish"
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/" QINGHE_SITE_URL="http://127.0.0.1:9/site"
# The first start's version check runs the hidden updater, which stages the
# update; the next start hands off to the updater, which installs it, records
# the version and starts the calculator again.
"$dest/QingheCalc" >/dev/null 2>&1 &
await '[ -f "$dest/update/config.xml" ] && grep -q "St=\"1\"" "$dest/update/config.xml"' ||
    fail "no update was staged"
"$BIN/notify" Ex_DirectUI 青禾计算器 >/dev/null
wait
"$dest/QingheCalc" >/dev/null 2>&1 &
await '[ ! -e "$dest/update/config.xml" ] && cmp -s "$work/release/QingheCalc" "$dest/QingheCalc"' ||
    fail "the update did not go in"
cmp -s "$work/release/skin/bg.png" "$dest/skin/bg.png" || fail "the new picture"
[ "$(recorded)" = 1.0.0.506 ] || fail "the update did not record its version: '$(recorded)'"
await '[ "$("$BIN/notify" Ex_DirectUI 青禾计算器 0)" -ge 1 ]' 20 || { fail "no calculator after the update"; ps -ef | grep -v grep | grep -i "qinghe\|renew"; ls -la "$dest"; }
"$BIN/notify" Ex_DirectUI 青禾计算器 >/dev/null
wait

# The uninstall removes what the install and the updates put there.
"$work/$name/install.sh" --uninstall >"$work/install.log" 2>&1 || fail "install.sh --uninstall"
[ ! -e "$dest" ] || fail "the program folder is left"
[ ! -e "$entry" ] || fail "the menu entry is left"
[ -z "$(find "$XDG_DATA_HOME/icons" -name qinghe-calc.png 2>/dev/null)" ] || fail "icons are left"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
