#!/bin/sh
# Builds both presets and runs every test: the win64 build under wine64, then
# the win32 release under wine32, where this machine can run 32-bit programs.
set -eu
cd "$(dirname "$0")/.."
cmake/install-deps.sh
for preset in win64 win32; do
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j "$(nproc)"
done
ctest --preset win64

# The 32-bit Wine loader is itself a small i386 program. Where wine32 could not
# be installed (i386 package lists that do not match the installed packages),
# a Debian 12 chroot that has it runs the win32 tests instead; where the kernel
# cannot run 32-bit programs at all, or no chroot can be made, nothing runs
# the win32 build.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    ctest --preset win32
elif [ "$(id -u)" -eq 0 ] && cmake/test-wine32.sh --run /usr/lib/wine/wine --version; then
    ctest --preset win32 -L build  # the build's own checks, with the host's compilers
    cmake/test-wine32.sh
else
    echo "test-all.sh: SKIPPED the win32 tests: this machine cannot run 32-bit (i386) programs" \
        "(/usr/lib/wine/wine is missing or does not start, here and in a chroot);" \
        "the win64 tests above ran and passed." >&2
    cmake/check-exe.sh i686-w64-mingw32-objdump build/win32/setup.exe
fi

# One commit gives one setup.exe: two fresh builds of each preset compare.
cmake/check-reproducible.sh
