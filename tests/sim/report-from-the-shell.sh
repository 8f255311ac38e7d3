#!/bin/bash
# The report as a person runs it from a terminal without a display: usage errors exit with 2 before
# anything is read; on the simulated notebook the report leaves nothing in /tmp and changes nothing.
# Usage: report-from-the-shell.sh BUILD_DIR LAUNCHER
set -uo pipefail
build=$1
launcher=$2
program=$build/app/LapstoneConfiguration
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

for args in "--format json" "--report --format xml" "--report extra" "--report --bogus" "--report --format"; do
    # shellcheck disable=SC2086
    "$program" $args >/tmp/report-out.$$ 2>/tmp/report-err.$$
    status=$?
    [ "$status" = 2 ] || fail "'$args' exits with $status, not 2"
    [ -s /tmp/report-out.$$ ] && fail "'$args' printed a report"
    [ -s /tmp/report-err.$$ ] || fail "'$args' says nothing on standard error"
done
rm -f /tmp/report-out.$$ /tmp/report-err.$$

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for format in text markdown json; do
    bash "$launcher" --build "$build" --out "$out/$format" -- \
        /opt/lapstone/vc/bin/LapstoneConfiguration --report --format "$format" >"$out/$format.out" 2>"$out/$format.err"
    status=$?
    [ "$status" = 0 ] || fail "$format: exits with $status: $(cat "$out/$format.err")"
    grep -q 'Power-on password' "$out/$format.out" || fail "$format: no security section"
    [ "$(cat "$out/$format/changes.diff")" = none ] || fail "$format: the machine changed: $(cat "$out/$format/changes.diff")"
    [ -s "$out/$format/tmp-leftovers.txt" ] && fail "$format: left in /tmp: $(cat "$out/$format/tmp-leftovers.txt")"
done
echo "$failures failure(s)"
[ "$failures" = 0 ]
