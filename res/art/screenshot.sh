#!/bin/sh
# Takes the README's picture of the running dialog: the win64 build under
# Wine on the build tree's private Xvfb, with one editor's plug-in folder
# recorded so that the list shows a found folder. Needs python3-pil. With a
# DPI (192 for 200 %), the program runs at that display scale: Wine takes it
# from LogPixels, which is put back afterwards.
# Usage: res/art/screenshot.sh [OUTPUT.png [DPI]]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-"$root/res/art/screenshot.png"}
dpi=${2:-}
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
desktop='HKCU\Control Panel\Desktop'
earlier=$("$wine64" reg query "$desktop" /v LogPixels 2>/dev/null |
          awk '$1 == "LogPixels" { print $3 }' | tr -d '\r')
if [ -n "$dpi" ]; then
    "$wine64" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
fi
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
if [ -n "$dpi" ] && [ -n "$earlier" ]; then
    "$wine64" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((earlier))" /f >/dev/null
elif [ -n "$dpi" ]; then
    "$wine64" reg delete "$desktop" /v LogPixels /f >/dev/null
fi
rm -rf "$WINEPREFIX/drive_c/Program Files/Lumen Paint"
kill "$setup" 2>/dev/null || true
"$run" --stop
