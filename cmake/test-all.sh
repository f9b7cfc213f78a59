#!/bin/sh
# Builds both presets and runs every test (under wine64).
set -eu
cd "$(dirname "$0")/.."
cmake/install-deps.sh
cmake --preset win32
cmake --build --preset win32 -j "$(nproc)"
cmake --preset win64
cmake --build --preset win64 -j "$(nproc)"
ctest --preset win64
cmake/check-exe.sh i686-w64-mingw32-objdump build/win32/setup.exe
