#!/bin/bash
# Usage: build-debs.sh OUT_DIR
# Builds the Debian packages (dpkg-buildpackage -b -uc -us) from a copy of the source tree, so the
# checkout stays clean, and leaves the .deb files (with their debug-symbol packages) and the
# .buildinfo/.changes in OUT_DIR. The copy is copy-tree.sh's: what git tracks plus files not yet
# added, or all of an unpacked source tarball but its build trees.
set -eu
[ $# -eq 1 ] || { echo "usage: build-debs.sh OUT_DIR" >&2; exit 2; }
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bash "$top/packaging/copy-tree.sh" "$work/lapstone-configuration"
(cd "$work/lapstone-configuration" && dpkg-buildpackage -b -uc -us -j"$(nproc 2>/dev/null || echo 2)")
rm -f "$out"/*.deb "$out"/*.ddeb "$out"/*.buildinfo "$out"/*.changes
find "$work" -maxdepth 1 -type f \( -name '*.deb' -o -name '*.ddeb' -o -name '*.buildinfo' -o -name '*.changes' \) \
    -exec mv {} "$out"/ \;
ls -1 "$out"
