#!/bin/bash
# A stand-in held to its real tool: conformance/TOOL.lines, run here by the real tool as an ordinary
# user in a copy of the profile's home and in the notebook, print the same bytes and statuses; a
# line "@real|@sim COMMAND" prepares one side. Usage: conformance.sh BUILD LAUNCHER TOOL, TOOL one of
# xinput, gsettings, kconfig, gdbus.
set -uo pipefail
if [ "$1" = --run ]; then
    while IFS= read -r line; do
        case "$line" in
        "@$2 "*) sh -c "${line#"@$2 "}" >/dev/null 2>&1 </dev/null || echo "prepared with status $?: $line" ;;
        "" | "#"* | @*) ;;
        *)
            printf '$ %s\n' "$line"
            timeout 30 sh -c "$line" >"$4/out" 2>"$4/err" </dev/null
            status=$?
            cat "$4/out"; printf -- '--- standard error\n'; cat "$4/err"; printf -- '--- status %s\n' "$status" ;;
        esac
    done <"$3"
    exit 0
fi
build=$1 launcher=$2 tool=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb=""
trap '[ -z "$xvfb" ] || { kill "$xvfb"; wait "$xvfb"; } 2>/dev/null; rm -rf "$work"' EXIT
skip() { echo "conformance: $*" >&2; exit 77; }
need() { [ -x "$1" ] || skip "$1 is not installed (Debian package $2)"; }
[ "$(id -u)" -eq 0 ] || skip "not root: the notebook's command would run as root, not as its user"
base=debian12-plasma tools=$tool
real=(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$work/real" XDG_RUNTIME_DIR="$work/runtime")
case "$tool" in
xinput)
    need /usr/bin/xinput xinput && need /usr/bin/Xvfb xvfb
    exec {display_fd}<> <(:)
    Xvfb -displayfd "$display_fd" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    read -r -t 30 number <&"$display_fd" || { cat "$work/xvfb.log" >&2; exit 1; }
    real+=(DISPLAY=":$number") ;;
gsettings)
    need /usr/bin/gsettings libglib2.0-bin
    ls /usr/lib/*/gio/modules/libdconfsettings.so >/dev/null 2>&1 || skip "no dconf (Debian package dconf-gsettings-backend)"
    base=debian12-gnome
    real+=(dbus-run-session --) ;;
gdbus)
    need /usr/bin/gdbus libglib2.0-bin
    real+=(dbus-run-session --) ;;
kconfig)
    need /usr/bin/kreadconfig5 libkf5config-bin
    tools="kreadconfig5 kwriteconfig5" ;;
*) echo "conformance: no lines for $tool" >&2; exit 2 ;;
esac
profile=$work/profile
cp -R "$here/../../sim/profiles/$base" "$profile" && rm -f "$profile/session-bus"
printf '%s\n' $tools >"$profile/tools"
if [ "$tool" = xinput ]; then
    printf 'event0\tmouse\t1\tXvfb mouse\nevent1\tkeyboard\t1\tXvfb keyboard\n' >"$profile/libinput-devices"
    # The stand-in plays the release whose xinput this machine has.
    /usr/bin/xinput --version | sed -n 's/^xinput version //p' >"$profile/xinput"
fi
mkdir -p "$work/real" "$work/scratch" "$work/out" && cp -R "$profile/home/." "$work/real/"
cp "$0" "$here/conformance/$tool.lines" "$work/out/"
# The ordinary user is one every Debian system has: dbus-daemon and Xlib look their user up.
user=$(id -u nobody) group=$(id -g nobody)
install -d -o "$user" -g "$group" -m 700 "$work/runtime" && chown -R "$user:$group" "$work/real" "$work/scratch" && chmod 755 "$work"
setpriv --reuid="$user" --regid="$group" --clear-groups "${real[@]}" bash "$0" --run real "$here/conformance/$tool.lines" \
    "$work/scratch" >"$work/real.txt" 2>"$work/real.err" || { cat "$work/real.err" >&2; exit 1; }
env -u DISPLAY -u XAUTHORITY -u WAYLAND_DISPLAY bash "$launcher" --profile "$profile" --build "$build" --out "$work/out" \
    --no-daemon -- bash /run/lapstone-sim/out/conformance.sh --run sim "/run/lapstone-sim/out/$tool.lines" \
    /run/lapstone-sim/out >"$work/sim.txt" 2>"$work/launcher.err" || { cat "$work/launcher.err" >&2; exit 1; }
# GLib's warnings name their process and time: those two may differ, nothing else. dconf's warning
# that it could not commit a change comes from a thread of its own, and gsettings may end before
# it is printed (about one run in twenty): it is left out on both sides, with GLib's blank line.
for side in real sim; do
    awk '/^$/ { if (held) print ""; held = 1; next }
        /^\(process:[0-9]+\): dconf-WARNING \*\*: [0-9:.]+: failed to commit changes to dconf: / { held = 0; next }
        { if (held) print ""; held = 0
          if (sub(/^\(process:[0-9]+\)/, "(process:PID)")) sub(/ \*\*: [0-9:.]+: /, " **: TIME: "); print }
        END { if (held) print "" }' "$work/$side.txt" >"$work/$side.cmp"
done
diff -u --label "real $tool" --label "notebook's $tool" "$work/real.cmp" "$work/sim.cmp" || exit 1
echo "conformance: $tool: $(grep -c '^\$ ' "$work/real.txt") command lines alike"
