#!/bin/bash
# The calculator's background version check against a real server on
# 127.0.0.1 (started around this script by tests/support/http_test_server.py,
# which names it in QH_TEST_SERVER and serves QH_TEST_SERVER_ROOT), driven
# through uidriver: which updater command it starts for each server answer
# and installed version, the statistics page it loads and the version the
# about window shows.
#   calc_version_check_test.sh UIDRIVER
set -u
driver="$1"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QINGHE_UPDATE_URL="$QH_TEST_SERVER/qingheupdate/"
served="$QH_TEST_SERVER_ROOT/qingheupdate"
mkdir -p "$served"
echo '<html><body>stats</body></html>' >"$served/tongji.html"

# A program folder whose machine-wide registry records an installed version
# (none when the second argument is empty).
program() {
    mkdir -p "$1"
    if [ -n "$2" ]; then
        printf 'Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\青禾计算器\tDisplayVersion\t%s\n' "$2" |
            iconv -f UTF-8 -t GBK >"$1/registry.txt"
    fi
}
# Runs the calculator in that folder long enough for the check to answer,
# and prints the programs it started.
run() { printf 'wait 1500\nstarted\nquit\n' | "$driver" --program-dir "$1" QingheCalc; }
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }
check_prefix="\"$work/%s\\\\renew\" -h $(hex QingheCalc) "

# The server announces the version installed: nothing is started.
printf '1.0.0.503' >"$served/version.txt"
program "$work/same" ""
out="$(run "$work/same")"
[ -z "$out" ] || fail "same version started: $out"

# The server's text keeps its line end, so it differs from the registry's.
printf '1.0.0.506\n' >"$served/version.txt"
program "$work/newline" "1.0.0.506"
out="$(run "$work/newline")"
# shellcheck disable=SC2059
case "$out" in "$(printf "$check_prefix" newline)$(hex 1.0.0.506) "*) ;; *) fail "line end: $out" ;; esac

# The process id is the last field, hex-encoded decimal digits.
pid="${out##* }"
[[ "$pid" =~ ^(3[0-9])+$ ]] || fail "process id field: $pid"

# A missing file (404), an empty one and one longer than 64 bytes are no
# version: the updater is started to make its own check.
rm "$served/version.txt"
program "$work/missing" "1.0.0.504"
out="$(run "$work/missing")"
# shellcheck disable=SC2059
case "$out" in "$(printf "$check_prefix" missing)$(hex 1.0.0.504) "*) ;; *) fail "404: $out" ;; esac
printf '1.0.0.503%060d' 0 >"$served/version.txt"
program "$work/long" ""
out="$(run "$work/long")"
# shellcheck disable=SC2059
case "$out" in "$(printf "$check_prefix" long)$(hex 1.0.0.503) "*) ;; *) fail "65 bytes: $out" ;; esac
# The same 64 bytes as the installed version are a version.
printf '1.0.0.503%055d' 0 >"$served/version.txt"
program "$work/long64" "$(printf '1.0.0.503%055d' 0)"
out="$(run "$work/long64")"
[ -z "$out" ] || fail "64 bytes started: $out"

# The bytes after a NUL do not count.
printf '1.0.0.503\0junk' >"$served/version.txt"
program "$work/nul" ""
out="$(run "$work/nul")"
[ -z "$out" ] || fail "NUL: $out"

# Every start asked for the version and loaded the statistics page.
asked=$(grep -c '^GET /qingheupdate/version.txt$' "$QH_TEST_SERVER_LOG")
loaded=$(grep -c '^GET /qingheupdate/tongji.html$' "$QH_TEST_SERVER_LOG")
[ "$asked" = 6 ] || fail "version asked $asked times"
[ "$loaded" = 6 ] || fail "statistics page loaded $loaded times"

# A program folder the user cannot write (a system package) takes its
# updates from the package manager: the calculator starts no updater even
# when the server announces another version. Root may write anywhere, so as
# root the calculator runs as "nobody", from a copy of the driver that
# nobody can reach.
printf '1.0.0.506' >"$served/version.txt"
program "$work/packaged" "1.0.0.503"
chmod 555 "$work/packaged"
as_user() { "$@"; }
if [ "$(id -u)" = 0 ]; then
    chmod 755 "$work"
    mkdir -m 755 "$work/bin"
    cp "$driver" "$work/bin/uidriver"
    if [ -n "${LSAN_OPTIONS:-}" ]; then
        cp "${LSAN_OPTIONS#suppressions=}" "$work/bin/lsan.supp" && chmod 644 "$work/bin/lsan.supp"
        export LSAN_OPTIONS="suppressions=$work/bin/lsan.supp"
    fi
    as_user() { HOME="$work/bin" XDG_CONFIG_HOME="$work/bin" setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
    driver="$work/bin/uidriver"
fi
out="$(printf 'wait 1500\nstarted\nquit\n' | as_user "$driver" --program-dir "$work/packaged" QingheCalc)"
[ -z "$out" ] || fail "a folder the user cannot write started the updater: $out"
grep -c '^GET /qingheupdate/version.txt$' "$QH_TEST_SERVER_LOG" | grep -qx 7 || fail "the packaged calculator did not ask"
chmod 755 "$work/packaged"

# The about window shows the installed version once the check has read it.
printf '1.0.0.506' >"$served/version.txt"
program "$work/about" "1.0.0.506"
out="$(printf 'wait 500\nclick TopTabs[5]\nwait 300\nwindow 关于青禾...\nprint AboutText\nquit\n' |
    "$driver" --program-dir "$work/about" QingheCalc)"
echo "$out" | grep -Eq '^AboutText=青禾计算器\(1\.0\.0\.506( 开发版)?\)' || fail "about text: $out"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
