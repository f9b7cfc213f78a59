#!/bin/sh
# Gives a build tree's Wine prefix a small drive S:, a 4 MiB tmpfs mounted
# inside the build tree, which tests fill to meet a full disk. Mounting needs
# root; without it there is no drive S:, those tests pass over the case, and
# --mount ends with status 77.
#   small-drive.sh --mount BUILD_DIR     (after the prefix exists)
#   small-drive.sh --unmount BUILD_DIR
set -u
build_dir=$(cd "$2" && pwd)
point="$build_dir/small-drive"
link="$build_dir/wineprefix${WINE_RUN_SESSION:+-$WINE_RUN_SESSION}/dosdevices/s:"

case $1 in
--mount)
    mkdir -p "$point"
    if ! mountpoint -q "$point" &&
        ! mount -t tmpfs -o size=4m pastel-small-drive "$point" 2>/dev/null; then
        # 77: CTest shows the mount as skipped.
        echo "small-drive.sh: no tmpfs could be mounted (it needs root); the full-disk cases are not tried"
        exit 77
    fi
    ln -sfn "$point" "$link"
    ;;
--unmount)
    rm -f "$link"
    # Lazily: the Wine server may still hold the folder for a moment.
    if mountpoint -q "$point"; then umount -l "$point"; fi
    rmdir "$point" 2>/dev/null || true
    ;;
esac
exit 0
