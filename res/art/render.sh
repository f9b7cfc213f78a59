#!/bin/sh
# Renders the skin artwork from src/ into this folder and checks the result.
# Needs Debian's python3-pil, python3-numpy, fonts-ebgaramond and fonts-lato.
# Usage: res/art/render.sh [PREVIEW_FOLDER]
set -e
here=$(cd "$(dirname "$0")" && pwd)
# Debian's interpreter carries the Debian-packaged PIL and numpy.
python=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1
[ -x "$python" ] || python=python3
"$python" "$here/src/artwork.py" "$here"
if [ -n "$1" ]; then
    mkdir -p "$1"
    "$python" "$here/src/check_art.py" "$here" "$1"
else
    "$python" "$here/src/check_art.py" "$here"
fi
