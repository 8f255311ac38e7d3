#!/bin/sh
# Fails when any C++ file of the tree differs from what the project's .clang-format makes of it.
# The tree is formatted with clang-format 14 (Debian 12's); Debian 13's clang-format 19 must give
# the same verdict. Where the two lay out the same code differently, and no style option decides
# it, the code takes a form both leave alone:
#   struct stat info = {};           not "struct stat info{};" (14 wraps its braces like a struct's)
#   << (text + "\n") << "next"       not << text + "\n" << "next" (14 always breaks after a "\n"
#                                    before <<, 19 only where the line is too long)
set -eu
top=$1
cd "$top"
files=$(find . \( -path ./build -o -path './build-*' -o -path './obj-*' -o -path ./debian -o -path ./.git \) -prune \
    -o \( -name '*.cpp' -o -name '*.h' \) -type f -print | sort)
[ -n "$files" ] || { echo "format-check: no C++ files under $top" >&2; exit 1; }
# shellcheck disable=SC2086
clang-format --dry-run -Werror $files
echo "format-check: $(echo "$files" | wc -l) files formatted as .clang-format says ($(clang-format --version | sed 's/.*version \([0-9.]*\).*/clang-format \1/'))"
