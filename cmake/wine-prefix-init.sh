#!/bin/sh
# Makes the tests' Wine prefix: boots it, then maps the Chinese default face
# "宋体" (SimSun) to the CJK font that set-up installs, as a Windows machine
# in China would have it.
# Usage: wine-prefix-init.sh PREFIX
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
prefix="$1"
"$here/wine-run.sh" "$prefix" wineboot --init
for face in "宋体" "SimSun" "新宋体" "NSimSun"; do
    "$here/wine-run.sh" "$prefix" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v "$face" /t REG_SZ /d "WenQuanYi Zen Hei" /f >/dev/null
done
# Let the registry reach its files before the tests start their own servers.
WINEPREFIX="$(cd "$prefix" && pwd)" wineserver -w
