#!/bin/bash
# The Windows setup program under Wine, in a prefix of its own, against the
# tests' update server (tests/support/http_test_server.py starts it around
# this script, on a private Xvfb):
#   1. "setup.exe /S" installs into "Program Files\青禾计算器": the programs,
#      the uninstaller, the Uninstall key with its values, and the shortcuts.
#   2. The installed calculator starts and shows its window.
#   3. The update cycle runs from this fresh installation.
#   4. A folder of other files is refused, and nothing is written there; a
#      folder whose permissions cannot be set is not installed into.
#   5. "uninst.exe /S" leaves nothing: not the folder (with "update\" and the
#      files the update added), not the key, not the shortcuts.
#   setup_wine_test.sh SETUP_EXE BIN_DIR VERSION_FILE win32|win64
set -u
SETUP="$1"
BIN="$2"
VERSION="$(head -n 1 "$3")"
ARCH="$4"
here="$(cd "$(dirname "$0")" && pwd)"
RUN="$here/../../cmake/wine-run.sh"
export LC_ALL=C.UTF-8
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
PREFIX="$work/prefix"
# Wine links a user's desktop to $HOME's; keep it inside the test.
export HOME="$work/home"
mkdir -p "$HOME"
cleanup() { WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
await() { for _ in $(seq 1 "${2:-120}"); do eval "$1" && return 0; sleep 0.5; done; return 1; }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\青禾计算器'
folder_win='C:\Program Files\青禾计算器'
folder="$PREFIX/drive_c/Program Files/青禾计算器"
desktop="$PREFIX/drive_c/users/Public/Desktop/青禾计算器.lnk"
menu="$PREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/青禾计算器"
# Reads the Uninstall key as "reg export" writes it (UTF-16, whatever the
# console's code page); value NAME then prints one of its values: a string
# unescaped, a DWORD in decimal, nothing when the key or value is missing.
read_key() {
    rm -f "$PREFIX/drive_c/key.reg" "$work/key.txt"
    "$RUN" "$PREFIX" reg export "$key" 'C:\key.reg' /y >/dev/null 2>&1
    touch "$work/key.txt"
    [ -f "$PREFIX/drive_c/key.reg" ] && iconv -f UTF-16 -t UTF-8 "$PREFIX/drive_c/key.reg" | tr -d '\r' >"$work/key.txt"
}
value() {
    local line
    line="$(grep "^\"$1\"=" "$work/key.txt" | head -1)"
    line="${line#*=}"
    case "$line" in
        dword:*) echo $((16#${line#dword:})) ;;
        \"*) line="${line#\"}"; printf '%s\n' "${line%\"}" | sed 's/\\"/"/g; s/\\\\/\\/g' ;;
    esac
}
# Whether a shortcut names a target (its paths are stored as UTF-16).
names() { python3 -c 'import sys; sys.exit(sys.argv[2].encode("utf-16-le") not in open(sys.argv[1], "rb").read())' "$1" "$2"; }

"$here/../../cmake/wine-prefix-init.sh" "$PREFIX" "$ARCH" >/dev/null 2>&1 || fail "prefix"

# 1. The silent install.
"$RUN" "$PREFIX" "$SETUP" /S || fail "setup /S ended with $?"
read_key
for f in QingheCalc.exe renew.exe rules.xml uninst.exe; do
    [ -f "$folder/$f" ] || fail "not installed: $f"
done
[ "$(value DisplayName)" = "青禾计算器" ] || fail "DisplayName: $(value DisplayName)"
[ "$(value DisplayVersion)" = "$VERSION" ] || fail "DisplayVersion: $(value DisplayVersion)"
[ "$(value DisplayIcon)" = "$folder_win\\QingheCalc.exe,0" ] || fail "DisplayIcon: $(value DisplayIcon)"
[ "$(value Publisher)" = "青禾" ] || fail "Publisher: $(value Publisher)"
[ "$(value InstallLocation)" = "$folder_win" ] || fail "InstallLocation: $(value InstallLocation)"
[ "$(value UninstallString)" = "\"$folder_win\\uninst.exe\"" ] || fail "UninstallString: $(value UninstallString)"
size="$(value EstimatedSize)"
kb=$(( $(du -sk --apparent-size "$folder" | cut -f1) ))
[ -n "$size" ] && [ $((size)) -ge $((kb - 64)) ] && [ $((size)) -le $((kb + 64)) ] ||
    fail "EstimatedSize $size against $kb KB on disk"
for lnk in "$desktop" "$menu/青禾计算器.lnk"; do
    [ -f "$lnk" ] && names "$lnk" "$folder_win\\QingheCalc.exe" || fail "shortcut: $lnk"
done
[ -f "$menu/卸载青禾计算器.lnk" ] && names "$menu/卸载青禾计算器.lnk" "$folder_win\\uninst.exe" ||
    fail "uninstall shortcut"

# 2. The installed calculator shows its window; message 1024 ends it. No
# update server answers here, so it starts no updater.
QINGHE_UPDATE_URL=none "$RUN" "$PREFIX" "$folder_win\\QingheCalc.exe" >/dev/null 2>&1 &
await '[ "$("$RUN" "$PREFIX" "$BIN/notify.exe" Ex_DirectUI 青禾计算器 0 | tr -d "\r")" -ge 1 ] 2>/dev/null' ||
    fail "the installed calculator showed no window"
"$RUN" "$PREFIX" "$BIN/notify.exe" Ex_DirectUI 青禾计算器 >/dev/null
wait

# 3. The update cycle, from this installation.
"$here/../renew/update_cycle_wine_test.sh" "$BIN" "$PREFIX" "$folder_win" || fail "the update cycle"
read_key
[ "$(value DisplayVersion)" = "1.0.0.506" ] || fail "the update did not record its version"
WINEPREFIX="$PREFIX" wineserver -w

# 4. A folder that holds other files is refused: the uninstaller would
# remove it whole.
mkdir -p "$PREFIX/drive_c/Data"
printf 'mine' >"$PREFIX/drive_c/Data/letter.txt"
"$RUN" "$PREFIX" "$SETUP" /S '/D=C:\Data' && fail "setup accepted a folder of other files"
[ "$(ls "$PREFIX/drive_c/Data")" = "letter.txt" ] || fail "setup wrote into a folder of other files"
read_key
[ "$(value InstallLocation)" = "$folder_win" ] || fail "the refused install changed the key"

# 4b. Where the folder's permissions cannot be set, setup stops before any
# file goes in and leaves no folder behind. Wine's own icacls changes nothing
# and reports success (so the permissions themselves cannot be read back
# here); for this run a program that fails stands in for it: the test
# helper, which cannot write its answer into a folder and ends with 4.
standins=""
for sys in system32 syswow64; do
    icacls="$PREFIX/drive_c/windows/$sys/icacls.exe"
    [ -f "$icacls" ] || continue
    mv "$icacls" "$icacls.wine" && cp "$BIN/runtime_test_child.exe" "$icacls" && standins="$standins $icacls"
done
"$RUN" "$PREFIX" reg add 'HKCU\Software\Wine\DllOverrides' /v icacls.exe /t REG_SZ /d native /f >/dev/null 2>&1
"$RUN" "$PREFIX" "$SETUP" /S '/D=C:\Fresh'; rc=$?
[ "$rc" -eq 3 ] || fail "setup with failing permissions ended with $rc, not 3"
[ ! -e "$PREFIX/drive_c/Fresh" ] || fail "setup with failing permissions left: $(find "$PREFIX/drive_c/Fresh" | head -5)"
read_key
[ "$(value InstallLocation)" = "$folder_win" ] || fail "the install without permissions changed the key"
for icacls in $standins; do mv "$icacls.wine" "$icacls"; done
"$RUN" "$PREFIX" reg delete 'HKCU\Software\Wine\DllOverrides' /v icacls.exe /f >/dev/null 2>&1

# 5. The silent uninstall. The uninstaller runs from a copy of itself and
# returns at once, so the test waits for it.
"$RUN" "$PREFIX" "$folder_win\\uninst.exe" /S || fail "uninst.exe /S ended with $?"
await '[ ! -e "$folder" ]' || fail "the program folder is left: $(find "$folder" | head -5)"
WINEPREFIX="$PREFIX" wineserver -w
read_key
[ -s "$work/key.txt" ] && fail "the Uninstall key is left: $(cat "$work/key.txt")"
[ ! -e "$desktop" ] || fail "the desktop shortcut is left"
[ ! -e "$menu" ] || fail "the Start-menu folder is left"
[ -f "$PREFIX/drive_c/Data/letter.txt" ] || fail "the uninstaller touched another folder"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
