#!/bin/bash
# Usage: copy-tree.sh DEST
# Copies the source tree this script belongs to into DEST (made if missing). From a git checkout the
# copy holds what git tracks plus files not yet added, minus anything ignored (build trees); from an
# unpacked source tarball, everything but build trees.
set -eu
[ $# -eq 1 ] || { echo "usage: copy-tree.sh DEST" >&2; exit 2; }
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
if git -C "$top" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$top" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
        tar --null -T - -cf -) | tar -C "$1" -xf -
else
    tar -C "$top" --exclude='./build*' --exclude='./obj-*' -cf - . | tar -C "$1" -xf -
fi
