#!/bin/sh
# Makes the two Linux downloads from a build's programs:
#   qinghe-calc_<version>_amd64.deb           a Debian package, for a machine
#       whose package manager keeps it current: the calculator in
#       /usr/lib/qinghe-calc, its menu entry and its icons;
#   qinghe-calc-<version>-linux-x86_64.tar.gz for one user, who needs no
#       administrator: install.sh puts the calculator and its updater into the
#       user's data folder, and the updater keeps that copy current.
#
#   make-packages.sh BIN_DIR OUT_DIR VERSION ICON_FILE [MARK]
# MARK ("dev" for a build without the maker's key) goes into both names as
# qinghe-calc_<version>~dev_amd64.deb (and the package's version) and
# qinghe-calc-<version>-dev-linux-x86_64.tar.gz; the version recorded at
# install stays <version>.
set -eu
bin="$1"
out="$2"
version="$3"
icon="$4"
mark="${5:-}"
deb_version="$version${mark:+~$mark}"
here="$(cd "$(dirname "$0")" && pwd)"
arch=amd64
# The files get the time of the version's commit where git knows it, so the
# same sources give the same packages.
SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || echo 0)}"
export SOURCE_DATE_EPOCH

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# The program's icon in the sizes the .ico holds, for the hicolor theme.
mkdir -p "$work/icons"
icotool -x -o "$work/icons" "$icon"
icon_sizes=""
for png in "$work/icons"/*.png; do
    size="$(file -b "$png" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\).*/\1x\2/p')"
    [ -n "$size" ] || { echo "make-packages: cannot read the size of $png" >&2; exit 1; }
    mv "$png" "$work/icons/$size.png"
    icon_sizes="$icon_sizes $size"
done

# Puts the icons into a hicolor theme under $1.
install_icons() {
    for size in $icon_sizes; do
        install -D -m 644 "$work/icons/$size.png" "$1/hicolor/$size/apps/qinghe-calc.png"
    done
}

# --- The Debian package ------------------------------------------------------
deb="$work/deb"
lib="$deb/usr/lib/qinghe-calc"
install -d -m 755 "$lib"
# Only the calculator and the rules document it reads: the package manager,
# not our updater, replaces the files of a system package.
install -m 755 "$bin/QingheCalc" "$lib/QingheCalc"
install -m 644 "$bin/rules.xml" "$lib/rules.xml"
# The rules document is GBK, the encoding of every document the programs
# read and of the updater's files; lintian would have UTF-8.
install -D -m 644 "$here/lintian-overrides" "$deb/usr/share/lintian/overrides/qinghe-calc"
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$lib/QingheCalc"
sed "s|@EXEC@|/usr/lib/qinghe-calc/QingheCalc|" "$here/qinghe-calc.desktop.in" >"$work/qinghe-calc.desktop"
install -D -m 644 "$work/qinghe-calc.desktop" "$deb/usr/share/applications/qinghe-calc.desktop"
install_icons "$deb/usr/share/icons"
doc="$deb/usr/share/doc/qinghe-calc"
install -D -m 644 "$here/copyright" "$doc/copyright"
sed "s|@VERSION@|$deb_version|; s|@DATE@|$(date -u -R -d "@$SOURCE_DATE_EPOCH")|" "$here/changelog.in" |
    gzip -9n >"$doc/changelog.gz"
chmod 644 "$doc/changelog.gz"

# The libraries the calculator links come from the packages that
# dpkg-shlibdeps names; libcurl, which it loads only when it first goes on
# the network, is named here (7.85 brought the protocol lists it sets); the
# CJK font draws its Chinese text.
mkdir -p "$work/shlibs/debian"
touch "$work/shlibs/debian/control"
depends="$(cd "$work/shlibs" && dpkg-shlibdeps -O "$lib/QingheCalc" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')"
[ -n "$depends" ] || { echo "make-packages: dpkg-shlibdeps found no dependencies" >&2; exit 1; }
installed_size="$(du -sk --apparent-size "$deb/usr" | cut -f1)"
install -d -m 755 "$deb/DEBIAN"
sed -e "s|@VERSION@|$deb_version|" -e "s|@ARCH@|$arch|" -e "s|@DEPENDS@|$depends, libcurl4 (>= 7.85.0), fonts-wqy-zenhei|" \
    -e "s|@SIZE@|$installed_size|" "$here/control.in" >"$deb/DEBIAN/control"
(cd "$deb" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$deb/DEBIAN/md5sums"
chmod 644 "$deb/DEBIAN/control" "$deb/DEBIAN/md5sums"
find "$deb" -type d -exec chmod 755 {} +
find "$deb" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
dpkg-deb --root-owner-group -Zxz --build "$deb" "$out/qinghe-calc_${deb_version}_${arch}.deb" >/dev/null

# --- The per-user archive ----------------------------------------------------
name="qinghe-calc-$version${mark:+-$mark}-linux-x86_64"
tree="$work/$name"
install -d -m 755 "$tree"
for program in QingheCalc renew; do
    install -m 755 "$bin/$program" "$tree/$program"
    strip --strip-unneeded --remove-section=.comment --remove-section=.note "$tree/$program"
done
install -m 644 "$bin/rules.xml" "$tree/rules.xml"
sed "s|@VERSION@|$version|" "$here/install.sh.in" >"$tree/install.sh"
chmod 755 "$tree/install.sh"
install -m 644 "$here/qinghe-calc.desktop.in" "$tree/qinghe-calc.desktop.in"
install_icons "$tree/icons"
find "$tree" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
tar --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$SOURCE_DATE_EPOCH" \
    -C "$work" -cf - "$name" | gzip -9n >"$out/$name.tar.gz"
