#!/bin/sh
# Signs setup.exe with osslsigncode (Authenticode, SHA-256) into a separate
# file; the built setup.exe stays as it is. The signer comes from the
# environment:
#   SETUP_SIGN_PKCS12     a PKCS#12 file (.pfx, .p12) holding certificate and key
#   or SETUP_SIGN_CERT    the certificate, with its chain, PEM or DER
#   and SETUP_SIGN_KEY    its private key, PEM or DER
#   SETUP_SIGN_PASSWORD   the password of the PKCS#12 file or of the key, if any
#   SETUP_SIGN_TIMESTAMP  an RFC 3161 timestamp server's URL (optional; without
#                         a timestamp, Windows stops trusting the signature when
#                         the certificate expires)
# Without a signer it says what is missing, writes nothing and fails.
#   sign-setup.sh <setup.exe> <signed setup.exe> <description>
set -eu
in=$1
out=$2
description=$3

refuse() {
    echo "sign: nothing signed: $1" >&2
    exit 1
}
readable() {
    [ -r "$2" ] || refuse "$1 names $2, which cannot be read"
}

command -v osslsigncode >/dev/null 2>&1 ||
    refuse "osslsigncode is not installed (cmake/install-deps.sh installs it)"
if [ -n "${SETUP_SIGN_PKCS12:-}" ]; then
    readable SETUP_SIGN_PKCS12 "$SETUP_SIGN_PKCS12"
    set -- -pkcs12 "$SETUP_SIGN_PKCS12"
elif [ -n "${SETUP_SIGN_CERT:-}" ] && [ -n "${SETUP_SIGN_KEY:-}" ]; then
    readable SETUP_SIGN_CERT "$SETUP_SIGN_CERT"
    readable SETUP_SIGN_KEY "$SETUP_SIGN_KEY"
    set -- -certs "$SETUP_SIGN_CERT" -key "$SETUP_SIGN_KEY"
else
    refuse "set SETUP_SIGN_PKCS12 to a .pfx or .p12 file, or SETUP_SIGN_CERT and SETUP_SIGN_KEY to a certificate and its key (and SETUP_SIGN_PASSWORD when they have one)"
fi
if [ -n "${SETUP_SIGN_TIMESTAMP:-}" ]; then
    set -- "$@" -ts "$SETUP_SIGN_TIMESTAMP"
fi

# The password goes through a pipe, not the command line, where other users
# could read it.
if [ -n "${SETUP_SIGN_PASSWORD:-}" ]; then
    set -- "$@" -readpass /dev/stdin
fi
mkdir -p "$(dirname "$out")"
partial="$out.partial"
rm -f "$partial"
if ! printf '%s' "${SETUP_SIGN_PASSWORD:-}" |
    osslsigncode sign "$@" -h sha256 -n "$description" -in "$in" -out "$partial" >/dev/null; then
    rm -f "$partial"
    refuse "osslsigncode failed (see above)"
fi
mv "$partial" "$out"
echo "sign: signed $out"
