#!/bin/sh
# Makes two self-signed certificates for "localhost", starts the tests'
# server over HTTPS with the first, trusts it through SSL_CERT_FILE and runs
# the test program; QH_TEST_OTHER_CERT names the second, which the server
# does not use.
#   https_test.sh SERVER_SCRIPT TEST_PROGRAM
set -eu
server="$1"
program="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for name in server other; do
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost \
        -addext subjectAltName=DNS:localhost -keyout "$work/$name.key" -out "$work/$name.pem" 2>/dev/null
done
SSL_CERT_FILE="$work/server.pem" QH_TEST_OTHER_CERT="$work/other.pem" \
    python3 "$server" --tls "$work/server.pem" "$work/server.key" -- "$program"
