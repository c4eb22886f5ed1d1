#!/bin/sh
# Makes the tests' Wine prefix: boots it, then maps the Chinese default face
# "宋体" (SimSun) to the CJK font that set-up installs, as a Windows machine
# in China would have it.
# Usage: wine-prefix-init.sh PREFIX win32|win64
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
prefix="$1"
arch="$2"
# A prefix left from the other architecture cannot be reused.
if [ -f "$prefix/system.reg" ] && ! grep -q "^#arch=$arch" "$prefix/system.reg"; then
    rm -rf "$prefix"
fi
# Wine writes the architecture into the prefix's registry files only when
# its server ends, so every step here names it.
export WINEARCH="$arch"
"$here/wine-run.sh" "$prefix" wineboot --init
for face in "宋体" "SimSun" "新宋体" "NSimSun"; do
    "$here/wine-run.sh" "$prefix" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v "$face" /t REG_SZ /d "WenQuanYi Zen Hei" /f >/dev/null
done
# Let the registry reach its files before the tests start their own servers.
WINEPREFIX="$(cd "$prefix" && pwd)" wineserver -w
