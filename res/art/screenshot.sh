#!/bin/sh
# Takes the README's picture of the running dialog: the win64 build under
# Wine on the build tree's private Xvfb, with one editor's plug-in folder
# recorded so that the list shows a found folder. Needs python3-pil.
# Usage: res/art/screenshot.sh [OUTPUT.png]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-"$root/res/art/screenshot.png"}
build="$root/build/win64"
run="$build/wine-run.sh"
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
key='HKCU\Software\Vantorel\Screenshot'
folder='C:\Program Files\Lumen Paint\Plug-ins'

unset DISPLAY
"$run" --start
read -r number pid < "$build/wine-display"
export DISPLAY=":$number" WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
mkdir -p "$WINEPREFIX/drive_c/Program Files/Lumen Paint/Plug-ins"
"$wine64" reg add "$key" /v PlugInFolder /t REG_SZ /d "$folder" /f >/dev/null
"$run" "$build/setup.exe" &
setup=$!
sleep 4
/usr/bin/python3 - "$out" <<'PY'
import sys
from PIL import ImageGrab
screen = ImageGrab.grab(xdisplay=None).convert("RGB")
box = screen.point(lambda v: 255 if v else 0).getbbox()
screen.crop(box).save(sys.argv[1], optimize=True)
print(sys.argv[1], screen.crop(box).size)
PY
"$wine64" reg delete "$key" /f >/dev/null
rm -rf "$WINEPREFIX/drive_c/Program Files/Lumen Paint"
kill "$setup" 2>/dev/null || true
"$run" --stop
