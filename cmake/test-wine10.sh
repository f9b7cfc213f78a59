#!/bin/sh
# The win64 tests under Wine 10, in a chroot: see test-in-chroot.sh.
exec "$(dirname "$0")/test-in-chroot.sh" wine10 "$@"
