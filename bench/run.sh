#!/bin/sh
# Measures the program inside the simulated notebook under Xvfb and prints a table of each figure
# against its floor, and its start-up against a timing peer where one is installed (Debian package
# hardinfo); the table also goes to BUILD/bench/results.md. See docs/performance.md.
#   sh bench/run.sh [--runs N] [--idle-runs N] [--idle-seconds S] [--profile NAME] [--build DIR]
#                   [--no-build]
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=12
idle_runs=3
idle_seconds=10
profile=veltor-t2
build=$repo/build
compile=1
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs=$2; shift 2 ;;
    --idle-runs) idle_runs=$2; shift 2 ;;
    --idle-seconds) idle_seconds=$2; shift 2 ;;
    --profile) profile=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --no-build) compile=0; shift ;;
    *) echo "usage: sh bench/run.sh [--runs N] [--idle-runs N] [--idle-seconds S] [--profile NAME] [--build DIR] [--no-build]" >&2
       exit 2 ;;
    esac
done
# A single run is a smoke run; it need not sit ten seconds per idle window more than once.
[ "$runs" -ge "$idle_runs" ] || idle_runs=$runs

command -v xvfb-run >/dev/null || { echo "bench: xvfb-run is missing (apt-get install xvfb xauth)" >&2; exit 77; }
# The notebook sees the host's /usr. Every desktop has a session bus, so the program and its floors
# are measured on one; without it each Qt program would start dbus-launch and a bus of its own.
[ -x /usr/bin/dbus-daemon ] || {
    echo "bench: /usr/bin/dbus-daemon is missing: the benchmark starts a session bus in the notebook (apt-get install dbus-daemon)" >&2
    exit 77
}
if [ "$compile" = 1 ]; then
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j2 --target LapstoneConfiguration lapstone-vcd bench-same-forms \
        lapstone-bench-tour lapstone-bench
fi
[ -x /usr/bin/hardinfo ] || echo "bench: hardinfo is not installed: no peer rows (apt-get install hardinfo)" >&2
for binary in bench/bench-same-forms bench/lapstone-bench-tour bench/lapstone-bench; do
    [ -x "$build/$binary" ] || { echo "bench: $build/$binary is not built" >&2; exit 1; }
done

# The notebook sees only its own folders; the benchmark's programs travel in through its OUT.
out=$build/bench
work=$out/run-$$
rm -rf "$work"
mkdir -p "$work"
cp "$build/bench/bench-same-forms" "$build/bench/lapstone-bench-tour" "$build/bench/lapstone-bench" "$work/"
inside=/run/lapstone-sim/out
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$repo/sim/run-in-sim.sh" --profile "$profile" --build "$build" --out "$work" --as-root -- \
    "$inside/lapstone-bench" "$inside" "$runs" "$idle_runs" "$idle_seconds" || status=$?
if [ "$status" -ne 0 ] || [ ! -f "$work/results.md" ]; then
    echo "bench: the measuring run failed (status $status); its files are in $work" >&2
    exit 1
fi
{
    echo "Profile $profile, $(date -u +%Y-%m-%dT%H:%MZ), $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
    echo
    cat "$work/results.md"
} >"$out/results.md"
cp "$work/results.tsv" "$out/results.tsv"
rm -rf "$work"
echo "bench: table written to $out/results.md"
