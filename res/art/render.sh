#!/bin/sh
# Renders the skin artwork from src/ into this folder and checks the result:
# the 100 % bitmaps, cursor and icon, and the larger renderings as PNG files
# squeezed with zopflipng (lossless, and the same bytes from the same pixels).
# Needs Debian's python3-pil, python3-numpy, fonts-ebgaramond, fonts-lato and
# zopfli (cmake/install-deps.sh --art installs them).
# Usage: res/art/render.sh [PREVIEW_FOLDER]
set -e
here=$(cd "$(dirname "$0")" && pwd)
# Debian's interpreter carries the Debian-packaged PIL and numpy.
python=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1
[ -x "$python" ] || python=python3
command -v zopflipng >/dev/null || {
    echo "zopflipng not found: install zopfli" >&2
    exit 1
}
"$python" "$here/src/artwork.py" "$here"
for png in "$here"/*-[0-9]*.png; do
    zopflipng -y -m "$png" "$png.squeezed" >/dev/null
    mv "$png.squeezed" "$png"
done
if [ -n "$1" ]; then
    mkdir -p "$1"
    "$python" "$here/src/check_art.py" "$here" "$1"
else
    "$python" "$here/src/check_art.py" "$here"
fi
