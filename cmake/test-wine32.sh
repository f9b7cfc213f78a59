#!/bin/sh
# The win32 tests under wine32, for a host that cannot install it, in a
# chroot: see test-in-chroot.sh.
exec "$(dirname "$0")/test-in-chroot.sh" wine32 "$@"
