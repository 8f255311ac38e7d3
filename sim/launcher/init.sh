#!/bin/sh
# First process inside the simulated notebook, run as root by run-in-sim.sh. The mounts are in
# place already; this fills the writable parts of the machine from the profile, starts the
# privileged daemon, runs the command as the notebook's user, and afterwards reports what the run
# changed. Usage: init.sh COMMAND_UID HOME_OWNER_UID START_DAEMON(0|1) -- COMMAND [ARG...]
# The environment gives LAPSTONE_SIM_HOME, the user's home (default /home/lapstone), and
# LAPSTONE_SIM_VCD, the daemon's command line (default /opt/lapstone/vc/bin/lapstone-vcd).
set -u

sim=/run/lapstone-sim
profile=$sim/profile
out=$sim/out
machine=$sim/machine
rate=/sys/devices/platform/i8042/serio0/serio2/rate
socket=/tmp/vx_vc_socket
home=${LAPSTONE_SIM_HOME:-/home/lapstone}
known_tools="dmidecode synclient kdesu yast2 kcmshell dcop firefox"
user_path=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin
# Root inside may do what root does on the notebook, but not undo the mounts that keep the host's
# files read-only; the daemon, the command and anything they start lose that power for good.
confine="setpriv --bounding-set -sys_admin,-sys_module,-sys_boot,-sys_rawio --inh-caps -all --"

user_uid=$1
owner=$2
start_daemon=$3
shift 4

fail() {
    echo "run-in-sim: $*" >&2
    exit 125
}

# --- Accounts: the host's, plus the notebook's user ----------------------------------------------
{
    grep -v -e '^lapstone:' -e '^[^:]*:[^:]*:1000:' "$sim/host/passwd"
    echo "lapstone:x:1000:1000:Lapstone User:$home:/bin/bash"
} >/etc/passwd || fail "cannot write /etc/passwd"
{
    grep -v -e '^lapstone:' -e '^[^:]*:[^:]*:1000:' "$sim/host/group"
    echo "lapstone:x:1000:"
} >/etc/group || fail "cannot write /etc/group"
chmod 644 /etc/passwd /etc/group

# --- Machine files that the program may change ------------------------------------------------------
if [ -f "$profile/xorg.conf" ]; then
    cp "$profile/xorg.conf" /etc/X11/xorg.conf && chmod 644 /etc/X11/xorg.conf || fail "cannot install xorg.conf"
fi
if [ -f "$profile/nubstick-rate" ]; then
    cp "$profile/nubstick-rate" "$rate" && chmod 644 "$rate" || fail "cannot install the pointing-stick rate file"
fi

mkdir -p "$home" "$machine"
if [ -d "$profile/home" ]; then
    cp -R "$profile/home/." "$home/" || fail "cannot copy the profile's home"
fi
chown -R "$owner:$owner" "$home" && chmod 755 "$home"

if [ -f "$profile/synclient.txt" ]; then
    cp "$profile/synclient.txt" "$machine/synclient.txt" || fail "cannot copy the touchpad state"
fi
chown -R "$user_uid:$user_uid" "$machine"

runtime=/run/user/$user_uid
mkdir -p "$runtime" && chown "$user_uid:$user_uid" "$runtime" && chmod 700 "$runtime"

: >>"$out/tools.log" && chmod 666 "$out/tools.log"

if [ -f "$sim/host/Xauthority" ]; then
    cp "$sim/host/Xauthority" "$sim/Xauthority" && chown "$user_uid:$user_uid" "$sim/Xauthority" &&
        chmod 600 "$sim/Xauthority" || fail "cannot copy the X authority file"
fi

# --- The tools the profile lists, and no others ----------------------------------------------------
for tool in $known_tools; do
    found=$(PATH=$user_path whereis "$tool")
    if grep -qx "$tool" "$profile/tools"; then
        [ "$found" != "$tool:" ] || fail "whereis does not find the stand-in for $tool"
    else
        [ "$found" = "$tool:" ] || fail "a copy of $tool is visible although the profile lacks it: $found"
    fi
done

# --- The privileged daemon ----------------------------------------------------------------------------
daemon=""
if [ "$start_daemon" = 1 ]; then
    # shellcheck disable=SC2086 # a command line, as in a unit's ExecStart=
    $confine env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 ${LAPSTONE_SIM_VCD:-/opt/lapstone/vc/bin/lapstone-vcd} \
        2>>"$out/daemon.log" </dev/null &
    daemon=$!
    tries=0
    while [ ! -S "$socket" ]; do
        kill -0 "$daemon" 2>/dev/null || fail "lapstone-vcd ended at start; see daemon.log"
        tries=$((tries + 1))
        [ "$tries" -le 200 ] || fail "lapstone-vcd did not open $socket within 10 seconds"
        sleep 0.05
    done
fi

# --- The command ----------------------------------------------------------------------------------------
name=lapstone
[ "$user_uid" -eq 0 ] && name=root
set -- env -i HOME="$home" USER=$name LOGNAME=$name SHELL=/bin/bash PATH="$user_path" \
    LANG=C.UTF-8 XDG_RUNTIME_DIR="$runtime" LAPSTONE_SIM_PROFILE="$LAPSTONE_SIM_PROFILE" \
    ${LAPSTONE_SIM_DISPLAY:+DISPLAY="$LAPSTONE_SIM_DISPLAY"} \
    ${LAPSTONE_SIM_DISPLAY:+${LAPSTONE_SIM_XAUTH:+XAUTHORITY="$sim/Xauthority"}} \
    ${LAPSTONE_SIM_QPA:+QT_QPA_PLATFORM="$LAPSTONE_SIM_QPA"} \
    "$@"
if [ "$user_uid" -eq 0 ]; then
    (cd /root 2>/dev/null || cd /; exec $confine "$@")
else
    (cd "$home" && exec $confine setpriv --reuid="$user_uid" --regid="$user_uid" --init-groups -- "$@")
fi
status=$?

# --- Afterwards: stop the daemon, report the changes ---------------------------------------------------
if [ -n "$daemon" ]; then
    kill -TERM "$daemon" 2>/dev/null
    wait "$daemon" 2>/dev/null
fi

# diff -N reads a missing file as empty, so a created or deleted file shows in full.
report=$out/changes.diff
: >"$report"
compare() { # PROFILE_FILE MACHINE_PATH LABEL
    [ -e "$1" ] || [ -e "$2" ] || return 0
    diff -u -N --label "profile/$3" --label "$2" "$1" "$2" >>"$report"
}
compare "$profile/nubstick-rate" "$rate" nubstick-rate
compare "$profile/synclient.txt" "$machine/synclient.txt" synclient.txt
compare "$profile/xorg.conf" /etc/X11/xorg.conf xorg.conf
# The home holds the user's KDE settings; caches the toolkit leaves there are not machine settings.
emptyhome=$machine/.empty-home
mkdir -p "$emptyhome"
phome=$profile/home
[ -d "$phome" ] || phome=$emptyhome
(cd / && diff -r -u -N -x .cache -x .config -x .local -x .fontconfig "$phome" "$home") |
    sed -e "/^diff -r -u -N /d" -e "s|^--- $phome/\([^\t]*\).*|--- profile/home/\1|" \
        -e 's|^\(+++ [^\t]*\).*|\1|' >>"$report"
[ -s "$report" ] || echo none >"$report"

# What the run left in /tmp: capture files the program should have removed show up here.
find /tmp -mindepth 1 -maxdepth 1 ! -name .X11-unix ! -name vx_vc_socket \
    -printf '%f %u %m\n' | sort >"$out/tmp-leftovers.txt"

exit "$status"
