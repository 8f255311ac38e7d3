#!/bin/sh
# First process inside the simulated notebook, run as root by run-in-sim.sh. The mounts are in
# place already; this fills the writable parts of the machine from the profile, starts the
# privileged daemon, runs the command as the notebook's user, and afterwards reports what the run
# changed. Usage: init.sh COMMAND_UID HOME_OWNER_UID START_DAEMON(0|1) -- COMMAND [ARG...]
# The environment gives LAPSTONE_SIM_HOME, the user's home (default /home/lapstone), and
# LAPSTONE_SIM_VCD, the daemon's command line (default /opt/lapstone/vc/bin/lapstone-vcd),
# LAPSTONE_SIM_TOOLS, every tool a profile may list, LAPSTONE_SIM_SERVICES, the session-bus
# services whose stand-ins start with the bus, LAPSTONE_SIM_SYSTEM_BUS (1: the notebook has a system
# bus) and LAPSTONE_SIM_SYSTEM_SERVICES, the system services that run on it.
set -u

sim=/run/lapstone-sim
profile=$sim/profile
out=$sim/out
machine=$sim/machine
rate=/sys/devices/platform/i8042/serio0/serio2/rate
socket=/tmp/vx_vc_socket
home=${LAPSTONE_SIM_HOME:-/home/lapstone}
known_tools=${LAPSTONE_SIM_TOOLS:-dmidecode synclient kdesu yast2 kcmshell dcop firefox}
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

# await_names PID BUS SEND SERVICE...: waits until each SERVICE owns its name on the BUS ("session"
# or "system"), asked by SEND (dbus-send with its command prefixes); fails when PID, the process
# that is to take the names, ends first, or after 10 seconds.
await_names() {
    awaited_pid=$1 awaited_bus=$2 awaited_send=$3
    shift 3
    for service; do
        tries=0
        # shellcheck disable=SC2086 # command prefixes, words without blanks
        until $awaited_send --$awaited_bus --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.NameHasOwner "string:$service" 2>/dev/null | grep -q "boolean true"; do
            kill -0 "$awaited_pid" 2>/dev/null || fail "the $awaited_bus-bus stand-ins ended at start; see session-bus.log"
            tries=$((tries + 1))
            [ "$tries" -le 200 ] || fail "$service did not appear on the $awaited_bus bus within 10 seconds"
            sleep 0.05
        done
    done
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
# The input devices the libinput driver found: their state for xinput's and KWin's stand-ins, and
# what the kernel and udev tell about each (event devices are character devices 13:64+N).
if [ -f "$profile/libinput-devices" ]; then
    cp "$profile/libinput-devices" "$machine/libinput-devices" || fail "cannot copy the input devices"
    mkdir -p /sys/class/input /run/udev/data || fail "cannot make the input devices' folders"
    gawk -F '\t' '!/^#/ && NF == 4 { print $1 "\t" $2 "\t" $4 }' "$profile/libinput-devices" |
        while IFS="$(printf '\t')" read -r sysname kind name; do
            minor=$((64 + ${sysname#event}))
            # The numbers the kernel's PS/2 drivers give: the AT keyboard 0001:0001, the mouse driver
            # vendor 0002 with its protocol as the product (generic PS/2 1, Synaptics 7, TrackPoint 10).
            case "$kind" in
            keyboard) id="0001 0001" ;;
            touchpad) id="0002 0007" ;;
            pointingstick) id="0002 000a" ;;
            *) id="0002 0001" ;;
            esac
            mkdir -p "/sys/class/input/$sysname/device/id" &&
                echo "13:$minor" >"/sys/class/input/$sysname/dev" &&
                printf 'MAJOR=13\nMINOR=%s\nDEVNAME=input/%s\n' "$minor" "$sysname" >"/sys/class/input/$sysname/uevent" &&
                printf '%s\n' "$name" >"/sys/class/input/$sysname/device/name" &&
                echo "${id% *}" >"/sys/class/input/$sysname/device/id/vendor" &&
                echo "${id#* }" >"/sys/class/input/$sysname/device/id/product" || exit 1
            {
                echo "E:ID_INPUT=1"
                case "$kind" in
                touchpad) echo "E:ID_INPUT_TOUCHPAD=1" ;;
                pointingstick) printf 'E:ID_INPUT_MOUSE=1\nE:ID_INPUT_POINTINGSTICK=1\n' ;;
                mouse) echo "E:ID_INPUT_MOUSE=1" ;;
                keyboard) printf 'E:ID_INPUT_KEY=1\nE:ID_INPUT_KEYBOARD=1\n' ;;
                esac
                echo "E:LIBINPUT_DEVICE_GROUP=11/0/$minor"
            } >"/run/udev/data/c13:$minor" || exit 1
        done || fail "cannot describe the input devices"
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

# A prefix that runs a command as the command's user, with the rights it has.
as_user=$confine
[ "$user_uid" -eq 0 ] || as_user="$confine setpriv --reuid=$user_uid --regid=$user_uid --init-groups --"

# --- The session bus, and the desktop's services on it ---------------------------------------------
bus_address=unix:path=$runtime/bus
bus_env="env -i PATH=$user_path LANG=C.UTF-8 XDG_RUNTIME_DIR=$runtime DBUS_SESSION_BUS_ADDRESS=$bus_address"
# shellcheck disable=SC2086 # command prefixes, words without blanks
(cd / && exec $as_user $bus_env dbus-daemon --config-file="$sim/session-bus.conf" --address="$bus_address" \
    --nofork --nopidfile) 2>>"$out/session-bus.log" </dev/null &
bus=$!
tries=0
while [ ! -S "$runtime/bus" ]; do
    kill -0 "$bus" 2>/dev/null || fail "the session bus ended at start; see session-bus.log"
    tries=$((tries + 1))
    [ "$tries" -le 200 ] || fail "the session bus did not open $runtime/bus within 10 seconds"
    sleep 0.05
done
services=""
if [ -n "${LAPSTONE_SIM_SERVICES:-}" ]; then
    # shellcheck disable=SC2086 # command prefixes and bus names, words without blanks
    (cd / && exec $as_user $bus_env /usr/bin/python3 "$sim/session-services" $LAPSTONE_SIM_SERVICES) \
        2>>"$out/session-bus.log" </dev/null &
    services=$!
    # shellcheck disable=SC2086 # bus names, words without blanks
    await_names "$services" session "$as_user $bus_env dbus-send" $LAPSTONE_SIM_SERVICES
fi

# --- The system bus, where the profile has one, and the system services on it ----------------------
system_bus=""
system_services=""
if [ "${LAPSTONE_SIM_SYSTEM_BUS:-0}" = 1 ]; then
    mkdir -p /run/dbus || fail "cannot make /run/dbus"
    system_env="env -i PATH=$user_path LANG=C.UTF-8"
    # shellcheck disable=SC2086 # command prefixes, words without blanks
    (cd / && exec $confine $system_env dbus-daemon --config-file="$sim/system-bus.conf" --nofork --nopidfile) \
        2>>"$out/session-bus.log" </dev/null &
    system_bus=$!
    tries=0
    while [ ! -S /run/dbus/system_bus_socket ]; do
        kill -0 "$system_bus" 2>/dev/null || fail "the system bus ended at start; see session-bus.log"
        tries=$((tries + 1))
        [ "$tries" -le 200 ] || fail "the system bus did not open /run/dbus/system_bus_socket within 10 seconds"
        sleep 0.05
    done
    if [ -n "${LAPSTONE_SIM_SYSTEM_SERVICES:-}" ]; then
        # shellcheck disable=SC2086 # command prefixes and bus names, words without blanks
        (cd / && exec $confine $system_env /usr/bin/python3 "$sim/session-services" --system \
            $LAPSTONE_SIM_SYSTEM_SERVICES) 2>>"$out/session-bus.log" </dev/null &
        system_services=$!
        # shellcheck disable=SC2086 # bus names, words without blanks
        await_names "$system_services" system dbus-send $LAPSTONE_SIM_SYSTEM_SERVICES
    fi
fi

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
# The session's variables (NAME=VALUE lines, checked by the launcher), and GLib's settings in a file
# (~/.config/glib-2.0/settings/keyfile) where a desktop would keep them in dconf.
session=""
[ -f "$profile/session" ] && session=$(grep -v '^$' "$profile/session")
grep -qx gsettings "$profile/tools" && session="$session GSETTINGS_BACKEND=keyfile"
set -f
# shellcheck disable=SC2086 # NAME=VALUE words without blanks
set -- env -i HOME="$home" USER=$name LOGNAME=$name SHELL=/bin/bash PATH="$user_path" \
    LANG=C.UTF-8 XDG_RUNTIME_DIR="$runtime" LAPSTONE_SIM_PROFILE="$LAPSTONE_SIM_PROFILE" \
    DBUS_SESSION_BUS_ADDRESS="$bus_address" $session \
    ${LAPSTONE_SIM_DISPLAY:+DISPLAY="$LAPSTONE_SIM_DISPLAY"} \
    ${LAPSTONE_SIM_DISPLAY:+${LAPSTONE_SIM_XAUTH:+XAUTHORITY="$sim/Xauthority"}} \
    ${LAPSTONE_SIM_QPA:+QT_QPA_PLATFORM="$LAPSTONE_SIM_QPA"} \
    ${LAPSTONE_SIM_WAYLAND:+WAYLAND_DISPLAY="$LAPSTONE_SIM_WAYLAND"} \
    "$@"
set +f
if [ "$user_uid" -eq 0 ]; then
    (cd /root 2>/dev/null || cd /; exec $confine "$@")
else
    (cd "$home" && exec $confine setpriv --reuid="$user_uid" --regid="$user_uid" --init-groups -- "$@")
fi
status=$?

# --- Afterwards: stop the daemon and the session, report the changes -----------------------------------
for pid in $daemon $services $bus $system_services $system_bus; do
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
done

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
compare "$profile/libinput-devices" "$machine/libinput-devices" libinput-devices
# The home holds the user's desktop settings (~/.kde, ~/.config); caches the toolkit leaves there are
# not settings.
emptyhome=$machine/.empty-home
mkdir -p "$emptyhome"
phome=$profile/home
[ -d "$phome" ] || phome=$emptyhome
(cd / && diff -r -u -N -x .cache -x .local -x .fontconfig "$phome" "$home") |
    sed -e "/^diff -r -u -N /d" -e "s|^--- $phome/\([^\t]*\).*|--- profile/home/\1|" \
        -e 's|^\(+++ [^\t]*\).*|\1|' >>"$report"
[ -s "$report" ] || echo none >"$report"

# What the run left in /tmp: capture files the program should have removed show up here.
find /tmp -mindepth 1 -maxdepth 1 ! -name .X11-unix ! -name vx_vc_socket \
    -printf '%f %u %m\n' | sort >"$out/tmp-leftovers.txt"

exit "$status"
