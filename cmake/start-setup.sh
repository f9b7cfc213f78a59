#!/bin/sh
# Starts the 64-bit build of the setup program under Wine, in a Wine prefix of
# its own (build/win64/wineprefix-manual, apart from the tests' prefix) and on
# a private virtual display when there is none. The prefix holds one sample
# editor folder, the shared Photoshop plug-in folder, so that the list shows
# a found folder. Returns when the dialog is closed, and then ends that Wine
# session.
#   start-setup.sh           start it and wait for it
#   start-setup.sh --stop    end it from another terminal (needed when it runs
#                            on the private display, where nobody can close it)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
run="$here/build/win64/wine-run.sh"
export WINE_RUN_SESSION=manual
if [ "${1:-}" = --stop ]; then
    exec "$run" --stop
fi
"$run" --start
mkdir -p "$here/build/win64/wineprefix-manual/drive_c/Program Files/Common Files/Adobe/Plug-Ins/CC"
status=0
"$run" "$here/build/win64/setup.exe" || status=$?
"$run" --stop
exit $status
