#!/bin/sh
# Runs the win64 tests under Wine 10, as Debian 13 (trixie) ships it, in a
# trixie chroot made once outside the repository. The build stays the host's:
# build win64 first as usual (cmake --preset win64 && cmake --build --preset
# win64), then
#
#   cmake/test-wine10.sh [ctest options...]    e.g. -R app, or -V
#   cmake/test-wine10.sh --run COMMAND...      any command there, such as
#       build/win64/wine-run.sh build/win64/test_app.exe --gtest_filter=...
#
# The first run makes the chroot with debootstrap (a few minutes; needs root
# and the network); later runs only mount and test. WINE10_CHROOT=DIR chooses
# its place (default /var/tmp/pastelcraft-wine10), WINE10_MIRROR the mirror.
# proc, sys, dev, dev/pts, the X11 socket folder and this worktree are bound
# into the chroot at their own paths, and unmounted again however the run
# ends. The tests run in a Wine session of their own (WINE_RUN_SESSION=wine10):
# Wine 10 would upgrade the prefix of Wine 8's runs, and each Wine must have
# its own wineserver.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
root=${WINE10_CHROOT:-/var/tmp/pastelcraft-wine10}
mirror=${WINE10_MIRROR:-http://deb.debian.org/debian}
tree="$here/build/win64"
ready="$root/.pastelcraft-ready"

[ "$(id -u)" -eq 0 ] || exec sudo WINE10_CHROOT="$root" WINE10_MIRROR="$mirror" "$0" "$@"

mkdir -p "$(dirname "$root")"
exec 9>"$root.lock"
if ! flock -n 9; then
    echo "test-wine10.sh: another run is using $root" >&2
    exit 1
fi

# Every mount under the chroot, the innermost first, whoever made it (the
# tests mount their small drive inside the tree).
unmount_all() {
    if [ -x "$root/usr/bin/env" ] && [ -x "$tree/wine-run.sh" ] &&
        mountpoint -q "$root$here"; then
        chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin WINE_RUN_SESSION=wine10 \
            "$tree/wine-run.sh" --stop >/dev/null 2>&1 || true
    fi
    awk -v root="$root/" 'index($2, root) == 1 { print length($2), $2 }' /proc/self/mounts |
        sort -rn | cut -d' ' -f2- | while read -r point; do
            umount "$point" 2>/dev/null || umount -l "$point"
        done
}
trap unmount_all EXIT
trap 'exit 130' INT TERM

bind() {
    mkdir -p "$root$1"
    mountpoint -q "$root$1" && return
    mount --bind "$1" "$root$1"
    # Private: what the tests mount inside the tree stays in the chroot.
    mount --make-private "$root$1"
}
bind_system() {
    bind /proc
    bind /sys
    bind /dev
    bind /dev/pts
}

if [ ! -f "$ready" ]; then
    started=$(date +%s)
    if ! command -v debootstrap >/dev/null 2>&1; then
        apt-get update -qq || true  # a list a mirror is syncing: the rest serve
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
    fi
    # A debootstrap cut short cannot be resumed.
    if [ -d "$root/debootstrap" ]; then
        unmount_all
        rm -rf "$root"
    fi
    if [ ! -x "$root/usr/bin/apt-get" ]; then
        debootstrap --variant=minbase trixie "$root" "$mirror"
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    bind_system
    # The fonts the host's Wine sees, so both Wines lay text out alike.
    fonts=$(dpkg-query -W -f='${Package} ${Status}\n' 'fonts-*' 2>/dev/null |
        awk '/ ok installed$/ { print $1 }' | tr '\n' ' ')
    # A snapshot's release file may be older than apt likes.
    apt="apt-get -qq -o Acquire::Check-Valid-Until=false"
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive sh -c "$apt update && $apt install -y \
        --no-install-recommends wine wine64 libwine cmake binutils-mingw-w64-x86-64 \
        openssl osslsigncode xvfb x11-utils xauth $fonts"
    chroot "$root" /usr/lib/wine/wine64 --version
    touch "$ready"
    echo "test-wine10.sh: chroot $root made in $(($(date +%s) - started)) s"
fi

if [ ! -f "$tree/CTestTestfile.cmake" ]; then
    echo "test-wine10.sh: no win64 build in $tree; build it first (see the README)" >&2
    exit 1
fi
bind_system
bind /tmp/.X11-unix
bind "$here"
if [ "${1:-}" = --run ]; then
    shift
else
    set -- ctest --test-dir "$tree" --output-on-failure "$@"
fi
status=0
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 WINE_RUN_SESSION=wine10 sh -c 'cd "$0" && exec "$@"' "$here" "$@" ||
    status=$?
exit $status
