#!/bin/sh
# Takes the README's picture of the running dialog: the win64 build under
# Wine on the build tree's private Xvfb, with one editor's plug-in folder
# recorded so that the list shows a found folder. Needs python3-pil. With a
# DPI (192 for 200 %), the program runs at that display scale: Wine takes it
# from LogPixels, which is put back afterwards.
# With --contrast it takes the dialog in a dark contrast theme instead: Wine
# cannot switch one on, so the picture comes from the dialog test that
# forces it on (test_app.exe runs the real dialog code, holding that look
# on screen while SKINNED_DIALOG_HOLD_MS lasts, at 40,30 on the screen).
# Usage: res/art/screenshot.sh [OUTPUT.png [DPI]]
#        res/art/screenshot.sh --contrast [OUTPUT.png]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
contrast=
if [ "${1:-}" = --contrast ]; then
    contrast=1
    shift
    set -- "${1:-$root/res/art/screenshot-contrast.png}"
fi
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
if [ -n "$contrast" ]; then
    SKINNED_DIALOG_HOLD_MS=8000 "$run" "$build/test_app.exe" \
        --gtest_filter=SkinnedInstall.HighContrastDrawsInTheThemeAndGivesBackTheSkin >/dev/null &
    test=$!
    sleep 6
    /usr/bin/python3 - "$out" <<'PY'
import sys
from PIL import ImageGrab
shot = ImageGrab.grab(xdisplay=None).convert("RGB").crop((40, 30, 540, 322))
shot.quantize(colors=16).save(sys.argv[1], optimize=True)
print(sys.argv[1], shot.size)
PY
    if command -v zopflipng >/dev/null; then zopflipng -y "$out" "$out" >/dev/null; fi
    wait "$test"
    "$run" --stop
    exit 0
fi
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
