#!/bin/sh
# One repetition of the benchmark, so that it cannot rot: every figure must carry a number for the
# program and for its floor, and a verdict against its budget. How fast they are is not checked here.
set -u
build=$1
repo=$(cd "$(dirname "$0")/.." && pwd)
sh "$repo/bench/run.sh" --runs 1 --build "$build" --no-build
status=$?
[ "$status" -eq 0 ] || exit "$status"
table=$build/bench/results.tsv
failed=0
# The peer's rows are there when the peer is installed.
if [ -x /usr/bin/hardinfo ]; then
    set -- "peer: first drawing" "peer: peak RSS"
else
    set --
fi
for figure in "start-up:" "dialog: system information: open" "dialog: system information: BIOS tab" \
    "dialog: system information: battery tab" "dialog: system information: second battery" \
    "dialog: Nubstick" "dialog: touch pad" "dialog: security information" "dialog: resume lock" \
    "peak RSS after the tour" "peak RSS of the program itself" "daemon: one request" "daemon: 50 concurrent clients, all answered" \
    "idle 10 s: CPU time" "idle 10 s: wake-ups" "$@"; do
    if ! grep -F "$figure" "$table" | awk -F '\t' '$3 ~ /^[0-9.]+$/ && $4 ~ /^[0-9.]+$/ { found = 1 } END { exit !found }'; then
        echo "bench smoke: no number for \"$figure\"" >&2
        failed=1
    fi
done
# Every row must carry a verdict, met or not; how it came out is the benchmark's business.
if ! awk -F '\t' '$7 != "met" && $7 != "not met" { exit 1 }' "$table"; then
    echo "bench smoke: a row without a verdict:" >&2
    awk -F '\t' '$7 != "met" && $7 != "not met"' "$table" >&2
    failed=1
fi
# Every client of the crowd must have had its answer.
grep -F "answers" "$table" | awk -F '\t' '$3 != "50.000" { exit 1 }' || { echo "bench smoke: not all 50 clients were answered" >&2; failed=1; }
exit "$failed"
