#!/bin/sh
# Installs the Debian packages the build and the tests need, and nothing else.
# Safe to run again: it only calls apt-get when something is missing.
set -eu

NATIVE="cmake ninja-build g++ clang make pkg-config libgtest-dev googletest libgmock-dev \
libbenchmark-dev libssl-dev libcurl4-openssl-dev libx11-dev libcairo2-dev \
libfontconfig-dev libfreetype-dev libjpeg-dev libgif-dev fonts-wqy-zenhei xvfb xauth xdotool x11-utils \
imagemagick python3 icoutils file"
# The XML reader's fuzz target (libFuzzer comes with clang's runtime) and the
# differential test against libxml2.
NATIVE="$NATIVE libclang-rt-14-dev libxml2-dev"
# The installers: NSIS for the Windows setup program, dpkg-dev for the Debian
# package's dependencies, the checks of the packages, and openssl for the
# HTTPS tests' certificates.
NATIVE="$NATIVE nsis dpkg-dev lintian desktop-file-utils openssl fontconfig"
# Accessibility on Linux: ATK and its AT-SPI bridge for the X11 host, and for
# its test a private session bus (dbus-run-session), the accessibility bus
# launcher and a Python AT-SPI client.
NATIVE="$NATIVE libatk1.0-dev libatk-bridge2.0-dev at-spi2-core dbus-daemon python3-pyatspi"
CROSS="g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev \
wine wine32:i386 wine64 fonts-wine"

missing=""
for p in $NATIVE $CROSS; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing:$missing"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends $missing
