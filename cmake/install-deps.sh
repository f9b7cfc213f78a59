#!/bin/sh
# Installs what building and testing need on Debian 12, and only what is
# missing: MinGW-w64 (posix thread model), CMake, Wine with wine64 and the
# 32-bit wine32 (which runs the win32 build), the fonts Wine recommends and a
# user's Wine therefore has (text metrics depend on them), Xvfb, GoogleTest's
# sources, and osslsigncode and openssl for signing setup.exe and its test.
# With --art, instead, what res/art/render.sh needs to draw the artwork:
# Python's imaging and numeric packages, the two font families and zopfli.
set -eu
packages="cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64
fonts-liberation fonts-wine xvfb xauth googletest osslsigncode openssl"
optional="wine32:i386"
if [ "${1:-}" = --art ]; then
    packages="python3-pil python3-numpy fonts-ebgaramond fonts-lato zopfli"
    optional=""
fi
lacking() {
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            printf ' %s' "$package"
    done
}
missing=$(lacking $packages)
missing_optional=$(lacking $optional)
[ -z "$missing$missing_optional" ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
# wine32 is a package of the i386 architecture.
if [ -n "$missing_optional" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
echo "Installing:$missing$missing_optional"
# A mirror in the middle of a sync fails one list now and then: what the other
# lists hold still serves, and a package that cannot be had fails below.
$sudo apt-get update -qq || echo "install-deps.sh: apt-get update had errors; going on" >&2
install() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@"
}
[ -z "$missing" ] || install $missing
# Without wine32 only the win32 tests are left out (cmake/test-all.sh says so).
if [ -n "$missing_optional" ] && ! install $missing_optional; then
    echo "install-deps.sh: could not install$missing_optional; the win32 build" \
        "cannot be tested on this machine" >&2
fi
