#!/bin/sh
# The start-up race: how long setup.exe takes from the start of its process
# until the X server maps its dialog, beside a minimal NSIS installer of the
# same bitness (the NSIS peer, race/nsis-peer.nsi: one progress page, one
# 1.3 MB file stored uncompressed) that a user might otherwise get.
#
#   bench/race-nsis.sh BUILD_DIR [ROUNDS]      (or RACE_ROUNDS=N and
#   cmake --build --preset win64 --target race_nsis)
#
# One Wine session of its own (prefix BUILD_DIR/wineprefix-race, a private
# Xvfb, one wineserver kept running, unmanaged windows); a warm-up start of
# each, then ROUNDS rounds (11 unless told), each one start of setup.exe and
# one of the peer back to back (setup.exe first in odd rounds, the peer
# first in even ones), each ended before the next starts: setup.exe
# by Escape from another process (bench_race_close.exe), the peer by itself.
# Prints every round and then the median of the per-round ratios setup/peer,
# the fastest and median time of each side, and the load average before and
# after. The machine must be otherwise quiet for absolute times to mean
# anything; the ratio within a round cancels some of the noise. Needs
# makensis (Debian's nsis), gcc and the X11 headers (libx11-dev). Not a test:
# CTest does not run it. RACE_SETUP=/path/to/setup.exe races another build
# (the copy must be named setup.exe: the map is told by the window's class).
#
# Where the time went on the win64 build under wine64 at c6da482, when it
# still imported ole32 (one typical start at a load average of about 1, ms
# from the start of the loader, marks written by a build with
# OutputDebugString beside WINEDEBUG=+timestamp,+loaddll):
#   0-5    Wine's loader, ntdll and kernel32
#   5-10   the static imports load (advapi32, gdi32, user32, ole32 with
#          combase and rpcrt4, shell32 with shcore and shlwapi, msvcrt)
#   10-20  their start-up code, up to WinMain
#   20-29  the mutex, then COM's apartment; Wine's display driver and
#          uxtheme load here (the dialog would need them anyway)
#   29-46  the dialog and its list made: the common controls 6 that the
#          manifest asked for loaded at 38
#   46-50  WM_INITDIALOG: icon, discovery (empty prefix) 1, skin 3
#   51     mapped; the first paint follows after its 50 ms pause
# Dropping the common controls 6 took the fastest map from about 51 to 45 ms;
# joining COM on first use saved about 1 ms, within the noise. Not importing
# shell32 changed nothing measurable (discovery needs it before the dialog
# shows anyway); at 96 DPI no artwork is decoded.
#
# Times on a small virtual machine swing by two and a half times from one
# start to the next (the same build: 80 to 195 ms, quiet), so the work was
# also counted in wineserver requests, which are the same at every start: a
# server run as `wineserver -f -d1` logs each one, and the main thread's are
# counted up to its set_window_pos with SWP_SHOWWINDOW. At 4a98b83, 2,206:
#   1,157  the loader and the imports' start-up code, up to WinMain (Wine's
#          kernelbase alone reads some 430 registry values for time zones)
#     460  the dialog's window: display driver, uxtheme, the first font
#     202  the list and the hidden button: the list's drop-down is a window
#          of its own on the desktop, and each of its moves costs about 14
#     390  WM_INITDIALOG: the icons 82, discovery 96 (seven folders asked of
#          the shell, two of them twice, and 28 registry keys), the skin 190
#          (the list's item height and place 100, the six bitmaps 36), the
#          drop-down's width 22
# The icons and the drop-down's width now come once the window is mapped
# and ole32 is loaded on first use: 2,091. On win64 the shell still loaded
# ole32, combase and rpcrt4 in discovery, for the profile folder's current
# path (its default path, the same, loads nothing): 2,048, and the map came
# about 10 % sooner, more than the requests say, as loading a DLL costs time
# beyond its requests. In alternating starts of two bare dialogs, loading
# shell32 (and so shlwapi and shcore) cost 8 to 12 %; discovery asks the
# shell for the documented folders before the dialog shows, so it stays.
set -eu

build=$(cd "${1:?usage: race-nsis.sh BUILD_DIR [ROUNDS]}" && pwd)
rounds=${2:-${RACE_ROUNDS:-11}}
here=$(cd "$(dirname "$0")" && pwd)
setup=${RACE_SETUP:-$build/setup.exe}
closer="$build/bench_race_close.exe"
work="$build/race"

for file in "$setup" "$closer"; do
    [ -f "$file" ] || { echo "race-nsis.sh: $file is missing; build the race_nsis target" >&2; exit 1; }
done
for tool in makensis gcc; do
    command -v "$tool" >/dev/null || { echo "race-nsis.sh: $tool is missing (apt-get install nsis gcc)" >&2; exit 1; }
done

# The peer's stub and the loader follow the bitness of setup.exe.
header=$(od -An -tu4 -j60 -N4 "$setup" | tr -d ' ')
machine=$(od -An -tx2 -j $((header + 4)) -N2 "$setup" | tr -d ' ')
case $machine in
8664) target=amd64-unicode loader=wine64 ;;
14c | 014c) target=x86-unicode loader=wine ;;
*) echo "race-nsis.sh: $setup is no Windows program for x86 or x64" >&2; exit 1 ;;
esac
if [ -x "/usr/lib/wine/$loader" ]; then loader="/usr/lib/wine/$loader"; else loader=$(command -v "$loader" || echo "$loader"); fi
"$loader" --version >/dev/null 2>&1 || { echo "race-nsis.sh: $loader cannot run here" >&2; exit 1; }

mkdir -p "$work"
watch="$work/xmapwatch"
if [ ! -x "$watch" ] || [ "$here/race/xmapwatch.c" -nt "$watch" ]; then
    gcc -O2 -o "$watch" "$here/race/xmapwatch.c" -lX11 ||
        { echo "race-nsis.sh: xmapwatch did not build (apt-get install libx11-dev)" >&2; exit 1; }
fi
peer="$work/nsis-peer-$target.exe"
if [ ! -f "$peer" ] || [ "$here/race/nsis-peer.nsi" -nt "$peer" ]; then
    [ -f "$work/payload.bin" ] || head -c 1306624 /dev/urandom > "$work/payload.bin"
    makensis -V1 -DPAYLOAD="$work/payload.bin" -DOUT="$peer" -DCOMP=off -DTARGET="$target" \
        "$here/race/nsis-peer.nsi" >/dev/null
fi

export WINE_RUN_SESSION=race
unset DISPLAY
"$build/wine-run.sh" --start
read -r number pid < "$build/wine-display-race"
export DISPLAY=":$number" WINEPREFIX="$build/wineprefix-race" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Starts `exe` under the map watch (its windows carry the class `class`), ends
# it with `close` once its window is mapped, and prints the map time in ms
# (-1 when none was seen).
timed_start() {
    class=$1 exe=$2 close=$3
    out="$work/watch.out"
    : > "$out"
    "$watch" "$class" "$loader" "$exe" > "$out" 2>/dev/null &
    watcher=$!
    tries=0
    while ! grep -q '^map_ms=' "$out" && [ $tries -lt 3000 ]; do
        sleep 0.01
        tries=$((tries + 1))
    done
    if [ "$close" = escape ]; then "$loader" "$closer" >/dev/null 2>&1 || true; fi
    wait "$watcher" || true
    # RACE_PAUSE=seconds lets Wine settle between starts (none by default,
    # as the figure is taken: each start right after the previous end).
    [ "${RACE_PAUSE:-0}" = 0 ] || sleep "$RACE_PAUSE"
    sed -n 's/^map_ms=//p' "$out" | head -n 1
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
timed_start setup.exe "$setup" escape > /dev/null
timed_start nsis-peer "$peer" none > /dev/null
results="$work/rounds.txt"
: > "$results"
round=1
while [ $round -le "$rounds" ]; do
    # The order changes every round, so that neither side always follows
    # the other's exit.
    if [ $((round % 2)) = 1 ]; then
        ours=$(timed_start setup.exe "$setup" escape)
        theirs=$(timed_start nsis-peer "$peer" none)
    else
        theirs=$(timed_start nsis-peer "$peer" none)
        ours=$(timed_start setup.exe "$setup" escape)
    fi
    echo "$ours $theirs" >> "$results"
    printf 'round %2d: setup.exe %7s ms, peer %7s ms\n' "$round" "$ours" "$theirs"
    round=$((round + 1))
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
rm -rf "$WINEPREFIX/drive_c/perfprobe_nsis"
"$build/wine-run.sh" --stop

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "none"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
fastest() { sort -n | head -n 1; }
valid=$(awk '$1 > 0 && $2 > 0' "$results")
[ -n "$valid" ] || { echo "race-nsis.sh: no round saw both windows" >&2; exit 1; }
count=$(echo "$valid" | wc -l)
ratio=$(echo "$valid" | awk '{ printf "%.3f\n", $1 / $2 }' | median)
echo "setup.exe ($target build) against the NSIS peer, $count of $rounds rounds;" \
    "load average $load_before before, $load_after after"
echo "median ratio setup/peer: $ratio"
echo "setup.exe: fastest $(echo "$valid" | cut -d' ' -f1 | fastest) ms, median $(echo "$valid" | cut -d' ' -f1 | median) ms"
echo "peer:      fastest $(echo "$valid" | cut -d' ' -f2 | fastest) ms, median $(echo "$valid" | cut -d' ' -f2 | median) ms"
