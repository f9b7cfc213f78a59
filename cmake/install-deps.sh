#!/bin/sh
# Installs what building and testing need on Debian 12, and only what is
# missing: MinGW-w64 (posix thread model), CMake, Wine with wine64 and the
# 32-bit wine32 (which runs the win32 build), Xvfb, GoogleTest's sources, and
# osslsigncode and openssl for signing setup.exe and its test.
# With --art, instead, what res/art/render.sh needs to draw the artwork:
# Python's imaging and numeric packages, the two font families and zopfli.
set -eu
packages="cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64
wine32:i386 xvfb xauth googletest osslsigncode openssl"
[ "${1:-}" = --art ] && packages="python3-pil python3-numpy fonts-ebgaramond fonts-lato zopfli"
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
# wine32 is a package of the i386 architecture.
if [ "${1:-}" != --art ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
