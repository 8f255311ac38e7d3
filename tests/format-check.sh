#!/bin/sh
# Fails when any C++ file of the tree differs from what the project's .clang-format makes of it.
set -eu
top=$1
cd "$top"
files=$(find . \( -path ./build -o -path './build-*' -o -path './obj-*' -o -path ./debian -o -path ./.git \) -prune \
    -o \( -name '*.cpp' -o -name '*.h' \) -type f -print | sort)
[ -n "$files" ] || { echo "format-check: no C++ files under $top" >&2; exit 1; }
# shellcheck disable=SC2086
clang-format --dry-run -Werror $files
echo "format-check: $(echo "$files" | wc -l) files formatted as .clang-format says"
