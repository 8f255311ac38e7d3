#!/bin/sh
# Usage: run-program.sh BUILD_DIR [PROFILE]
# Runs the freshly built program in the simulated notebook (default profile veltor-t2) as the
# notebook's ordinary user, with its privileged daemon running as root beside it. Without a display,
# the scenario driver tours the program under Xvfb and leaves a transcript and screenshots.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
profile=${2:-veltor-t2}
out="$build/sim-runs/$profile-$(date +%Y%m%d-%H%M%S)"
launcher="$top/sim/run-in-sim.sh"

if [ -n "${DISPLAY:-}" ]; then
    echo "Running the program in the simulated notebook \"$profile\"; its logs go to $out"
    exec bash "$launcher" --profile "$profile" --build "$build" --out "$out" \
        -- /opt/lapstone/vc/bin/LapstoneConfiguration
fi

status=0
status_file=$(mktemp)
# What the driver prints names its folder inside the sandbox; the person wants the one out here.
{ xvfb-run -a -s "-screen 0 1024x768x24" bash "$launcher" --profile "$profile" --build "$build" --out "$out" \
    -- /opt/lapstone/vc/bin/lapstone-scenario tour 2>&1 || echo "$?" >"$status_file"; } |
    sed "s|/run/lapstone-sim/out|$out|g"
[ ! -s "$status_file" ] || status=$(cat "$status_file")
rm -f "$status_file"
if [ -f "$out/transcript.txt" ]; then
    { echo; echo "== what the run changed in the notebook's files =="; cat "$out/changes.diff"; } >>"$out/transcript.txt"
fi
echo "No display here, so the scenario driver toured the program in the simulated notebook \"$profile\" under Xvfb."
echo "Transcript:  $out/transcript.txt"
echo "Screenshots: $out/screenshots/"
echo "Tool and daemon logs: $out/tools.log, $out/daemon.log"
if [ "$status" -ne 0 ]; then
    echo
    if grep -q "FAILED: " "$out/transcript.txt" 2>/dev/null; then
        echo "The tour's failed checks (file:line):"
        grep -n "FAILED: " "$out/transcript.txt" | sed "s|^|  $out/transcript.txt:|"
    else
        echo "The tour ended with status $status before any check failed; its last lines:"
        tail -n 15 "$out/transcript.txt" 2>/dev/null | sed 's/^/  /' || echo "  (no transcript)"
    fi
fi
exit "$status"
