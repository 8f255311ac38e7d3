#!/bin/sh
# Builds the request reader's fuzz target with clang and runs it for a bounded time.
# Usage: run-fuzzer.sh CLANGXX SOURCE_DIR BUILD_DIR SECONDS
# Fails on any finding; exits 77 (skipped) where clang++ is not available.
set -u
clangxx=$1 source=$2 build=$3 seconds=$4

if ! command -v "$clangxx" >/dev/null 2>&1; then
    echo "SKIPPED: clang++ not found, cannot build the fuzz target"
    exit 77
fi
cmake -S "$source" -B "$build" -DCMAKE_CXX_COMPILER="$clangxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
cmake --build "$build" -j 2 || exit 1

rm -rf "$build/corpus" "$build/findings"
mkdir -p "$build/corpus" "$build/findings"
"$build/request_reader_seeds" "$build/corpus" || exit 1

"$build/request_reader_fuzz" -max_total_time="$seconds" -timeout=10 -error_exitcode=1 -print_final_stats=1 \
    -artifact_prefix="$build/findings/" "$build/corpus" >"$build/fuzz.log" 2>&1
status=$?
tail -n 25 "$build/fuzz.log"
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/fuzz.log")
echo "fuzz executions: ${runs:-unknown}, exit status $status"
if [ "$status" -ne 0 ] || [ -n "$(ls -A "$build/findings")" ]; then
    echo "FAILED: the fuzzer reported a finding (see $build/findings)"
    exit 1
fi
[ -n "$runs" ] || exit 1
