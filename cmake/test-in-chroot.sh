#!/bin/sh
# Runs one build's tests under a Wine that this host does not have, in a
# Debian chroot made once outside the repository. The build stays the host's:
# build the preset first as usual (cmake --preset P && cmake --build --preset
# P), then
#
#   cmake/test-in-chroot.sh KIND [ctest options...]    e.g. -R app, or -V
#   cmake/test-in-chroot.sh KIND --run COMMAND...      any command there, such
#       as build/win64/wine-run.sh build/win64/test_app.exe --gtest_filter=...
#
# KIND is one of
#   wine10  the win64 tests under Wine 10, as Debian 13 (trixie) ships it;
#   wine32  the win32 tests under Debian 12's wine32, for a host whose i386
#           package lists do not match its installed packages (a mirror mid-
#           sync, a security update with no i386 build yet), so that wine32
#           cannot be installed there. The chroot takes its packages from
#           the release alone, which always match.
# cmake/test-wine10.sh and cmake/test-wine32.sh name them.
#
# The first run makes the chroot with debootstrap (a few minutes; needs root
# and the network); later runs only mount and test. WINE_CHROOT=DIR chooses
# its place (default /var/tmp/pastelcraft-KIND), WINE_CHROOT_MIRROR the
# mirror. proc, sys, dev, dev/pts, the X11 socket folder and this worktree are
# bound into the chroot at their own paths, and unmounted again however the
# run ends. The tests run in a Wine session named KIND (WINE_RUN_SESSION): a
# Wine must not share the host's prefix, nor its wineserver, and Wine 10
# would upgrade the prefix of Wine 8's runs.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-}
case "$kind" in
wine10)
    suite=trixie preset=win64 foreign="" packages="wine wine64 libwine binutils-mingw-w64-x86-64"
    check=/usr/lib/wine/wine64 ;;
wine32)
    suite=bookworm preset=win32 foreign=i386
    packages="wine wine64 wine32:i386 binutils-mingw-w64-i686" check=/usr/lib/wine/wine ;;
*)
    echo "usage: test-in-chroot.sh wine10|wine32 [ctest options... | --run COMMAND...]" >&2
    exit 2 ;;
esac
shift
me="test-in-chroot.sh $kind"
root=${WINE_CHROOT:-/var/tmp/pastelcraft-$kind}
mirror=${WINE_CHROOT_MIRROR:-http://deb.debian.org/debian}
tree="$here/build/$preset"
ready="$root/.pastelcraft-ready"

[ "$(id -u)" -eq 0 ] ||
    exec sudo WINE_CHROOT="$root" WINE_CHROOT_MIRROR="$mirror" "$0" "$kind" "$@"

mkdir -p "$(dirname "$root")"
exec 9>"$root.lock"
if ! flock -n 9; then
    echo "$me: another run is using $root" >&2
    exit 1
fi

# Every mount under the chroot, the innermost first, whoever made it (the
# tests mount their small drive inside the tree).
unmount_all() {
    if [ -x "$root/usr/bin/env" ] && [ -x "$tree/wine-run.sh" ] &&
        mountpoint -q "$root$here"; then
        chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin WINE_RUN_SESSION=$kind \
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
        debootstrap --variant=minbase "$suite" "$root" "$mirror"
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    # The release alone: its lists always match each other across architectures.
    echo "deb $mirror $suite main" > "$root/etc/apt/sources.list"
    [ -z "$foreign" ] || chroot "$root" dpkg --add-architecture "$foreign"
    bind_system
    # The fonts the host's Wine sees, so both Wines lay text out alike.
    fonts=$(dpkg-query -W -f='${Package} ${Status}\n' 'fonts-*' 2>/dev/null |
        awk '/ ok installed$/ { print $1 }' | tr '\n' ' ')
    # A snapshot's release file may be older than apt likes.
    apt="apt-get -qq -o Acquire::Check-Valid-Until=false"
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive sh -c "$apt update && $apt install -y \
        --no-install-recommends $packages cmake \
        openssl osslsigncode xvfb x11-utils xauth $fonts"
    chroot "$root" "$check" --version
    touch "$ready"
    echo "$me: chroot $root made in $(($(date +%s) - started)) s"
fi

if [ ! -f "$tree/CTestTestfile.cmake" ]; then
    echo "$me: no $preset build in $tree; build it first (see the README)" >&2
    exit 1
fi
bind_system
bind /tmp/.X11-unix
bind "$here"
if [ "${1:-}" = --run ]; then
    shift
else
    # The build's own checks (label build) need the host's compilers.
    set -- ctest --preset "$preset" -LE build "$@"
fi
status=0
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 WINE_RUN_SESSION=$kind sh -c 'cd "$0" && exec "$@"' "$here" "$@" ||
    status=$?
exit $status
