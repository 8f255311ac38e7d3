#!/bin/bash
# Usage: destdir-tour.sh BUILD_DIR OUT_DIR
# Installs the build tree under a scratch DESTDIR (at the configured prefix) and has the simulated
# notebook tour the program against that tree: the daemon from the installed unit's ExecStart=, the
# pictures and help pages from where the install put them. Catches a unit, prefix or install rule
# that do not agree with each other.
set -euo pipefail
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
DESTDIR=$out/root cmake --install "$build" >"$out/install.log"
status=0
QT_QPA_PLATFORM=offscreen bash "$(dirname "$0")/../../sim/run-in-sim.sh" --installed "$out/root" \
    --build "$build" --out "$out/run" -- /opt/lapstone/vc/bin/lapstone-scenario tour >"$out/run.log" 2>&1 ||
    status=$?
if [ "$status" -ne 0 ]; then
    tail -n 20 "$out/run.log"
    grep -n "FAILED: " "$out/run/transcript.txt" 2>/dev/null | sed "s|^|$out/run/transcript.txt:|"
    exit "$status"
fi
grep -q "^listening on " "$out/run/daemon.log" || { echo "the installed daemon did not start"; exit 1; }
echo "tour passed against the tree installed in $out/root"
