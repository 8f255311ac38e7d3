#!/bin/bash
# A stand-in held to its real tool: the command lines of conformance/TOOL.lines, run by the real tool
# on this machine and by the stand-in in the simulated notebook, must print the same bytes on each
# stream and end with the same status. A line "@real COMMAND" or "@sim COMMAND" prepares one side.
#   conformance.sh BUILD LAUNCHER xinput        (--run SIDE LINES: the runner, on either side)
set -uo pipefail

if [ "$1" = --run ]; then
    while IFS= read -r line; do
        case "$line" in
        "" | "#"*) continue ;;
        "@$2 "*) sh -c "${line#"@$2 "}" >/dev/null 2>&1 </dev/null || echo "prepared with status $?: $line"; continue ;;
        @*) continue ;;
        esac
        printf '$ %s\n' "$line"
        sh -c "$line" >"$4/out" 2>"$4/err" </dev/null
        status=$?
        cat "$4/out"; printf -- '--- standard error\n'; cat "$4/err"; printf -- '--- status %s\n' "$status"
    done <"$3"
    exit 0
fi

build=$1
launcher=$2
tool=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -z "$xvfb" ] || { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
    rm -rf "$work"
}
trap cleanup EXIT
skip() { echo "conformance: $*" >&2; exit 77; }

if [ "$(id -u)" -ne 0 ] && ! bwrap --unshare-user --uid 0 --gid 0 --ro-bind / / true 2>/dev/null; then
    skip "not root and no user namespaces: the notebook cannot be built"
fi
# The profile: a notebook with the tool, its other files from the X11 one.
profile=$work/profile
mkdir -p "$profile" "$work/real" "$work/out"
cp "$here/../../sim/profiles/debian12-plasma/"{issue,version,cpuinfo,meminfo,session} "$profile/"
echo "$tool" >"$profile/tools"
real_env=(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$work/real")

case "$tool" in
xinput)
    [ -x /usr/bin/xinput ] || skip "the real xinput is not installed (Debian package xinput)"
    command -v Xvfb >/dev/null || skip "Xvfb is not installed (Debian package xvfb)"
    printf 'event0\tmouse\t1\tXvfb mouse\nevent1\tkeyboard\t1\tXvfb keyboard\n' >"$profile/libinput-devices"
    # A display of its own; Xvfb writes its number once it takes connections.
    exec {display_fd}<> <(:)
    Xvfb -displayfd "$display_fd" -nolisten tcp -noreset -screen 0 640x480x24 >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    read -r -t 30 number <&"$display_fd" || { cat "$work/xvfb.log" >&2; exit 1; }
    real_env+=(DISPLAY=":$number")
    ;;
*) echo "conformance: no lines for $tool" >&2; exit 2 ;;
esac

cp "$0" "$here/conformance/$tool.lines" "$work/out/"
"${real_env[@]}" bash "$0" --run real "$here/conformance/$tool.lines" "$work/real" >"$work/real.txt"
env -u DISPLAY -u XAUTHORITY -u WAYLAND_DISPLAY bash "$launcher" --profile "$profile" --build "$build" \
    --out "$work/out" --no-daemon -- bash /run/lapstone-sim/out/conformance.sh --run sim \
    "/run/lapstone-sim/out/$tool.lines" /run/lapstone-sim/out >"$work/sim.txt" 2>"$work/launcher.err" ||
    { cat "$work/launcher.err" >&2; exit 1; }
if diff -u --label "real $tool" --label "stand-in $tool" "$work/real.txt" "$work/sim.txt"; then
    echo "conformance: $tool: $(grep -c '^\$ ' "$work/real.txt") command lines alike"
else
    exit 1
fi
