#!/bin/sh
# Builds setup.exe of each preset in two fresh build trees, under different
# names and at different times, and compares the bytes: one commit gives one
# setup.exe, wherever and whenever it is built.
set -eu
cd "$(dirname "$0")/.."
work=$(mktemp -d "${TMPDIR:-/tmp}/setup-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
for preset in ${*:-win32 win64}; do
    for tree in one another-tree; do
        cmake --preset "$preset" -B "$work/$preset-$tree" -DSETUP_BUILD_TESTS=OFF >/dev/null
        cmake --build "$work/$preset-$tree" --target setup -j "$(nproc)" >/dev/null
    done
    first="$work/$preset-one/setup.exe"
    if cmp "$first" "$work/$preset-another-tree/setup.exe"; then
        echo "check-reproducible.sh: $preset: setup.exe is the same in both builds" \
            "($(wc -c < "$first") bytes, sha256 $(sha256sum < "$first" | cut -c1-16)...)"
    else
        echo "check-reproducible.sh: $preset: two builds of the same sources differ" >&2
        status=1
    fi
done
exit $status
