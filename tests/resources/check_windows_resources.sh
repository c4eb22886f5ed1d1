#!/bin/sh
# Checks that a Windows program carries its icon group 129, a manifest with
# the expected execution level and common controls 6, and version text.
# Usage: check_windows_resources.sh PROGRAM.exe LEVEL [MARK]
# MARK (" 开发版" in a development build) must follow the version text.
set -eu
exe="$1"; level="$2"; mark="${3:-}"
fail() { echo "FAIL: $exe: $1"; exit 1; }

wrestool -l "$exe" | grep -q -- '--type=14 --name=129 ' || fail "no icon group 129"
manifest="$(wrestool -x --raw --type=24 "$exe")"
echo "$manifest" | grep -q "level=\"$level\"" || fail "execution level is not $level"
echo "$manifest" | grep -q 'Microsoft.Windows.Common-Controls" version="6.0.0.0"' || fail "no common controls 6"
# The manifest's architecture must be the program's own (PE machine field).
case "$(file -b "$exe")" in
    *x86-64*) arch=amd64 ;;
    *) arch=x86 ;;
esac
count="$(echo "$manifest" | grep -c "processorArchitecture=\"$arch\"")"
[ "$count" -eq 2 ] || fail "manifest does not name the architecture $arch twice"
version="$(wrestool -x --raw --type=16 "$exe" | iconv -f UTF-16LE -t UTF-8 | tr -d '\000')"
echo "$version" | grep -q '1.0.0.503' || fail "no version 1.0.0.503"
echo "$version" | grep -q '青禾计算器' || fail "no product name"
if [ -n "$mark" ]; then
    echo "$version" | grep -q "1.0.0.503$mark" || fail "a development build whose version text lacks \"$mark\""
fi
echo "ok: $exe ($level, $arch)"
