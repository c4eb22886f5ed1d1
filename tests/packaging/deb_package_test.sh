#!/bin/bash
# The Debian package: its fields and contents, lintian's verdict, an install
# into a throwaway root (dpkg --root) with a valid menu entry, the installed
# calculator in a real window (on a private Xvfb), and the removal.
#   deb_package_test.sh DEB VERSION_FILE BIN_DIR [MARK]
# MARK ("dev") is the development build's: the package's version is then
# <version>~dev, in its field and its file name.
set -u
DEB="$1"
VERSION="$(head -n 1 "$2")"
BIN="$3"
PACKAGE_VERSION="$VERSION${4:+~$4}"
export LC_ALL=C.UTF-8
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
calc=""
trap '[ -n "$calc" ] && kill "$calc" 2>/dev/null; rm -rf "$work"' EXIT

[ "$(basename "$DEB")" = "qinghe-calc_${PACKAGE_VERSION}_amd64.deb" ] || fail "file name $(basename "$DEB")"
field() { dpkg-deb --field "$DEB" "$1"; }
[ "$(field Package)" = qinghe-calc ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$PACKAGE_VERSION" ] || fail "Version: $(field Version) against $PACKAGE_VERSION"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
# The libraries the calculator links, and the font of its Chinese text.
for package in libcairo2 libx11-6 libcurl4 libfontconfig1 libgif7 fonts-wqy-zenhei; do
    field Depends | tr ',' '\n' | grep -q "^ *$package\( \|$\)" || fail "Depends lacks $package: $(field Depends)"
done
# The calculator's start loads only what its window needs: the network and
# cryptography libraries are loaded when first used, the C++ runtime is
# linked in.
mkdir -p "$work/unpacked"
dpkg-deb -x "$DEB" "$work/unpacked"
needed="$(readelf -d "$work/unpacked/usr/lib/qinghe-calc/QingheCalc" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p')"
[ -n "$needed" ] || fail "no shared libraries read from the calculator"
for library in libcurl libssl libcrypto libgnutls libstdc++; do
    echo "$needed" | grep -q "^$library" && fail "the calculator links $library at start: $(echo $needed)"
done

# Exactly these files, owned by root, the program executable; no updater:
# the package manager keeps a package install current.
dpkg-deb --contents "$DEB" >"$work/contents"
awk '$1 !~ /^d/ {print $6}' "$work/contents" | sort >"$work/files"
sort >"$work/expected" <<'EOF'
./usr/lib/qinghe-calc/QingheCalc
./usr/lib/qinghe-calc/rules.xml
./usr/share/lintian/overrides/qinghe-calc
./usr/share/applications/qinghe-calc.desktop
./usr/share/doc/qinghe-calc/changelog.gz
./usr/share/doc/qinghe-calc/copyright
./usr/share/icons/hicolor/16x16/apps/qinghe-calc.png
./usr/share/icons/hicolor/256x256/apps/qinghe-calc.png
./usr/share/icons/hicolor/32x32/apps/qinghe-calc.png
./usr/share/icons/hicolor/48x48/apps/qinghe-calc.png
EOF
diff "$work/expected" "$work/files" >&2 || fail "contents differ (above)"
grep -q '^-rwxr-xr-x root/root .* ./usr/lib/qinghe-calc/QingheCalc$' "$work/contents" || fail "program mode or owner"
[ "$(awk '{print $2}' "$work/contents" | sort -u)" = root/root ] || fail "a file not owned by root"

# lintian, as far as it runs here: no error and no warning. The package
# ships a program of its own maker, so it is not checked against Debian's
# own archive rules (an upstream changelog, a man page for /usr/bin).
if ! lintian --fail-on error,warning --tag-display-limit 0 "$DEB" >"$work/lintian" 2>&1; then
    cat "$work/lintian" >&2
    fail "lintian"
fi

# The install into a throwaway root. Its dependencies are this machine's,
# not the empty root's.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg_root() { dpkg --root="$root" --force-not-root --force-depends --log=/dev/null "$@"; }
dpkg_root -i "$DEB" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg --root -i"; }
dpkg_root -s qinghe-calc 2>/dev/null | grep -q '^Status: install ok installed' || fail "not recorded as installed"
entry="$root/usr/share/applications/qinghe-calc.desktop"
desktop-file-validate "$entry" >&2 || fail "desktop-file-validate"
exec_path="$(sed -n 's/^Exec="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$entry")"
[ "$exec_path" = /usr/lib/qinghe-calc/QingheCalc ] || fail "Exec: $exec_path"
[ -x "$root$exec_path" ] || fail "Exec names no program in the package"
grep -qx 'Icon=qinghe-calc' "$entry" || fail "Icon"
grep -qx 'Categories=Office;Finance;' "$entry" || fail "Categories"
for size in 16x16 32x32 48x48 256x256; do
    file -b "$root/usr/share/icons/hicolor/$size/apps/qinghe-calc.png" | grep -q "PNG image data, ${size%x*} x ${size#*x}," ||
        fail "icon $size"
done

# The installed calculator shows its window. No update server answers, and
# its folder is not the user's to change, so it starts nothing.
window_shown() { xdotool search --onlyvisible --name '^青禾计算器$' >/dev/null 2>&1; }
QINGHE_UPDATE_URL=none "$root$exec_path" &
calc=$!
for _ in $(seq 1 100); do window_shown && break; sleep 0.1; done
window_shown || fail "the installed calculator showed no window"
"$BIN/notify" Ex_DirectUI 青禾计算器 >/dev/null || fail "no calculator window to ask to quit"
wait "$calc" || fail "the calculator ended with $?"
calc=

# The removal leaves no file of the package.
dpkg_root -r qinghe-calc >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg --root -r"; }
left="$(find "$root/usr" -type f 2>/dev/null)"
[ -z "$left" ] || fail "left after removal: $left"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
