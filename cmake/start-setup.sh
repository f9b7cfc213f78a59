#!/bin/sh
# Starts the 64-bit build of the setup program under Wine, with the build
# tree's own Wine prefix (and a virtual display when there is none).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
exec "$here/build/win64/wine-run.sh" "$here/build/win64/setup.exe"
