#!/bin/sh
# Installs the freshly built program, starts its privileged daemon and runs the program as the
# user who asked for it. Without a display, it runs under Xvfb and saves a screenshot instead.
set -eu
build=$1
cmake --install "$build" >/dev/null

daemon_log="$build/lapstone-vcd.log"
/opt/lapstone/vc/bin/lapstone-vcd 2>"$daemon_log" &
daemon=$!
trap 'kill "$daemon" 2>/dev/null || true' EXIT INT TERM

user=${SUDO_USER:-root}
program=/opt/lapstone/vc/bin/LapstoneConfiguration
as_user() {
    if [ "$user" = root ]; then
        "$@"
    else
        setpriv --reuid="$user" --regid="$(id -g "$user")" --init-groups --reset-env "$@"
    fi
}

if [ -n "${DISPLAY:-}" ]; then
    as_user env DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" "$program"
    exit 0
fi

shots="$build/screenshots"
mkdir -p "$shots"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$1" & program=$!
    sleep 4
    import -window root "$2"
    kill "$program"
' sh "$program" "$shots/main-window.png"
echo "No display here: the main window ran under Xvfb; its screenshot is $shots/main-window.png"
echo "The daemon's log is $daemon_log"
