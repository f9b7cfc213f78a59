#!/bin/sh
# Signs copies of a built setup.exe with a throwaway self-signed certificate,
# the way a plug-in maker signs a release (cmake/sign-setup.sh), checks the
# signatures and that the signed program still starts and ends cleanly. The
# built setup.exe stays as it was.
#   check-signing.sh <setup.exe> <wine-run.sh> <test_e2e.exe> <description>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
setup=$1
wine_run=$2
e2e=$3
description=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
    echo "check-signing.sh: $1" >&2
    status=1
}

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Throwaway test signer" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:throwaway \
    -out "$work/signer.p12"
before=$(sha256sum < "$setup")

unset SETUP_SIGN_PKCS12 SETUP_SIGN_CERT SETUP_SIGN_KEY SETUP_SIGN_PASSWORD SETUP_SIGN_TIMESTAMP
if "$here/sign-setup.sh" "$setup" "$work/none/setup.exe" "$description" 2>"$work/message"; then
    fail "signing without a signer succeeded"
fi
grep -q SETUP_SIGN_PKCS12 "$work/message" || fail "no word of what is missing: $(cat "$work/message")"
[ ! -e "$work/none" ] || fail "signing without a signer wrote something"

# A PKCS#12 file with a password, and a certificate with its key.
SETUP_SIGN_PKCS12="$work/signer.p12" SETUP_SIGN_PASSWORD=throwaway \
    "$here/sign-setup.sh" "$setup" "$work/pkcs12/setup.exe" "$description"
SETUP_SIGN_CERT="$work/cert.pem" SETUP_SIGN_KEY="$work/key.pem" \
    "$here/sign-setup.sh" "$setup" "$work/pem/setup.exe" "$description"
for signed in "$work/pkcs12/setup.exe" "$work/pem/setup.exe"; do
    osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >"$work/verify" 2>&1 ||
        fail "$signed does not verify: $(cat "$work/verify")"
    grep -q "Message digest algorithm *: SHA256" "$work/verify" || fail "$signed: not SHA-256"
done
[ "$(sha256sum < "$setup")" = "$before" ] || fail "the built setup.exe changed"

# The signed program still starts, runs once, and ends with code 0.
if ! SETUP_EXE="$work/pkcs12/setup.exe" "$wine_run" "$e2e" --gtest_filter='SetupExe.*' \
    --gtest_brief=1 >"$work/run" 2>&1 || ! grep -q 'PASSED  \] 1 test' "$work/run"; then
    fail "the signed setup.exe did not start and end cleanly: $(cat "$work/run")"
fi
exit $status
