#!/bin/bash
# The program under a Wayland session: a headless weston, Qt's wayland platform, the Plasma on
# Wayland notebook; the start-up scenario must pass there as under X11.
#   wayland-start.sh BUILD LAUNCHER
set -euo pipefail
build=$1
launcher=$2
command -v weston >/dev/null || { echo "wayland-start: weston is not installed" >&2; exit 77; }
ls /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    { echo "wayland-start: qt6-wayland is not installed" >&2; exit 77; }
runtime=$(mktemp -d)
trap 'kill "$weston" 2>/dev/null; wait "$weston" 2>/dev/null; rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=wayland-test --idle-time=0 \
    >"$runtime/weston.log" 2>&1 &
weston=$!
for _ in $(seq 100); do
    [ -S "$runtime/wayland-test" ] && break
    kill -0 "$weston" 2>/dev/null || { cat "$runtime/weston.log" >&2; exit 1; }
    sleep 0.1
done
# The notebook's user connects to the compositor root started.
chmod 755 "$runtime"
chmod 666 "$runtime/wayland-test"
env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$runtime/wayland-test" \
    bash "$launcher" --profile debian12-plasma-wayland --build "$build" --out "$build/tests/sim/runs/wayland" \
    -- /opt/lapstone/vc/bin/lapstone-scenario startup
grep -q ', platform wayland$' "$build/tests/sim/runs/wayland/transcript.txt" ||
    { echo "wayland-start: the program did not run on Qt's wayland platform" >&2; exit 1; }
