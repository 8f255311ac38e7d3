#!/bin/bash
# Tests of the simulated notebook's launcher: each case starts run-in-sim.sh for real and judges
# what the command inside saw and what the launcher reported afterwards.
# Usage: launcher-test.sh BUILD_DIR default|bare|profiles|desktop
set -uo pipefail

build=$1
case_name=$2
here=$(cd "$(dirname "$0")" && pwd)
sim=$(dirname "$here")
# The runs are headless whatever display the caller has, so that /tmp inside holds only what the
# program and the daemon put there.
launcher() { env -u DISPLAY -u XAUTHORITY -u QT_QPA_PLATFORM "$sim/run-in-sim.sh" "$@"; }
work=$build/sim-tests/$case_name
failures=0

pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
expect() { # DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

if ! command -v bwrap >/dev/null; then
    echo "bubblewrap (bwrap) is not installed" >&2
    exit 1
fi
# An ordinary user needs user namespaces; without them the launcher cannot run at all.
if [ "$(id -u)" -ne 0 ] && ! bwrap --unshare-user --uid 0 --gid 0 --ro-bind / / true 2>/dev/null; then
    echo "skipped: not root and no user namespaces" >&2
    exit 77
fi
user_uid=1000
[ "$(id -u)" -eq 0 ] || user_uid=0

rm -rf "$work"
mkdir -p "$work"

# The host's capture paths: the sandbox must leave them exactly as they were.
host_tmp_state() {
    local path
    for path in /tmp/vx_vc_socket /tmp/StoredDmi /tmp/dmidecode /tmp/command /tmp/nubstick /tmp/touchpad \
        /tmp/state /tmp/info /tmp/mem /tmp/kpowersave /tmp/kpowersaverc /tmp/xorgconfig; do
        stat -c '%n %i %Y' "$path" 2>/dev/null || echo "$path absent"
    done
}
profile_state() { (cd "$sim/profiles" && find . -type f -exec md5sum {} + | sort); }
tmp_before=$(host_tmp_state)
profiles_before=$(profile_state)

run_default() {
    local out=$work/out status
    mkdir -p "$out/probe"
    cp "$here/inside-default.sh" "$here/vcd-request.pl" "$out/probe/"
    launcher --build "$build" --out "$out" -- sh /run/lapstone-sim/out/probe/inside-default.sh "$user_uid" \
        >"$work/inside.txt" 2>&1
    status=$?
    cat "$work/inside.txt"
    expect "every check inside passed (status $status)" [ "$status" = 0 ]
    expect "the inside checks ran to the end" grep -q "the program is installed" "$work/inside.txt"

    expect "kdesu and kcmshell logged their command lines, in order" \
        diff <(printf '%s\n' "kdesu -c /sbin/yast2 sound" "kcmshell --caption Desktop kde-display") "$out/tools.log"
    expect "the daemon logged its requests" grep -q 'command="/usr/sbin/dmidecode > /tmp/StoredDmi" outcome=done' "$out/daemon.log"
    expect "the daemon was stopped" grep -q '^stopping' "$out/daemon.log"
    local report=$out/changes.diff
    expect "changes.diff shows the rate going from 100 to 0" \
        sh -c "grep -qx -- '--- profile/nubstick-rate' '$report' && grep -qx -- '-100' '$report' && grep -qx -- '+0' '$report'"
    expect "changes.diff shows the touchpad switched off" \
        sh -c "grep -qx -- '-    TouchpadOff          = 0' '$report' && grep -qx -- '+    TouchpadOff          = 1' '$report'"
    expect "changes.diff shows the new kpowersaverc line" \
        sh -c "grep -qx -- '--- profile/home/.kde/share/config/kpowersaverc' '$report' && grep -qx -- '+lockOnLidClose=false' '$report'"
    expect "changes.diff leaves out unchanged files" sh -c "! grep -q 'xorg.conf\|kdesktoprc' '$report'"
    expect "nothing was left in the sandbox's /tmp" sh -c "[ ! -s '$out/tmp-leftovers.txt' ]"
}

run_bare() {
    local out=$work/out status
    launcher --profile veltor-bare --build "$build" --out "$out" --as-root --no-daemon -- sh -c '
        for tool in dmidecode yast2 kcmshell synclient kdesu dcop firefox; do whereis $tool; done
        id -u
        ls -A /tmp | tr "\n" " "; echo "|"
        ls /usr/sbin/dmidecode /sbin/yast2 2>&1
        exit 7' >"$work/inside.txt" 2>&1
    status=$?
    cat "$work/inside.txt"
    expect "the command's exit status comes back" [ "$status" = 7 ]
    for tool in dmidecode yast2 kcmshell synclient; do
        expect "whereis does not find $tool" grep -qx "$tool:" "$work/inside.txt"
    done
    for tool in kdesu dcop firefox; do
        expect "whereis finds $tool" grep -q "^$tool: /usr/local/bin/$tool" "$work/inside.txt"
    done
    expect "neither /usr/sbin/dmidecode nor /sbin/yast2 exists" \
        sh -c "grep -q \"'/usr/sbin/dmidecode': No such file\" '$work/inside.txt' && grep -q \"'/sbin/yast2': No such file\" '$work/inside.txt'"
    expect "--as-root runs the command as root" grep -qx 0 "$work/inside.txt"
    expect "--no-daemon starts no daemon" grep -qx "|" "$work/inside.txt"
    expect "changes.diff says none" [ "$(cat "$out/changes.diff")" = none ]
}

# Every profile: what the command sees inside matches the profile's files.
run_profiles() {
    local dir name out view expected tool
    for dir in "$sim"/profiles/*/; do
        name=$(basename "$dir")
        out=$work/$name
        view=$(launcher --profile "$name" --build "$build" --out "$out" -- sh -c '
            echo "profile $LAPSTONE_SIM_PROFILE"
            for tool in dmidecode synclient kdesu yast2 kcmshell dcop firefox xinput udevadm kcmshell5 kcmshell6 \
                systemsettings gnome-control-center kreadconfig6 kwriteconfig6 gdbus gsettings kreadconfig5 kwriteconfig5; do
                [ "$(whereis $tool)" = "$tool:" ] || echo "tool $tool"
            done
            env | grep -E "^(XDG_[A-Z_]*DESKTOP|XDG_SESSION_TYPE|DESKTOP_SESSION|KDE_[A-Z_]*|GSETTINGS_BACKEND)=" | sed "s/^/env /"
            dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.ListNames |
                sed -n "s/^ *string \"\([^:][^\"]*\)\"$/bus \1/p"
            dbus-send --system --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.ListNames 2>/dev/null |
                sed -n "s/^ *string \"\([^:][^\"]*\)\"$/system-bus \1/p"
            find /sys -type f | sed "s/^/sys /"
            (cd /run/lapstone-sim/profile && find root -type f 2>/dev/null) | while read -r f; do
                cmp -s "/run/lapstone-sim/profile/$f" "${f#root}" && echo "same ${f#root}"
            done
            for f in /proc/H8 /proc/H8/BAT0/state /proc/H8/BAT0/info /proc/H8/BAT1/state /proc/H8/BAT1/info \
                /sys/devices/platform/i8042/serio0/serio2/rate /opt/lapstone/pm/pm.sh /opt/lapstone/ac/ac.sh \
                /home/lapstone/.kde/share/config/kdesktoprc /home/lapstone/.kde/share/config/kpowersaverc; do
                [ -e $f ] && echo "file $f"
            done
            for f in /opt/lapstone/pm/pm.sh /opt/lapstone/ac/ac.sh; do [ -x $f ] && $f start; done
            printf "issue %s\\n" "$(grep Linux /etc/issue)"
            echo "memory $(grep MemTotal /proc/meminfo | gawk "{print \$2 \$3}")"
            whereis dmidecode | grep -q /usr/sbin/dmidecode &&
                echo "vendor $(perl /dev/fd/3 "/usr/sbin/dmidecode > /tmp/StoredDmi" >/dev/null; grep -c "Vendor: VELTOR" /tmp/StoredDmi)"
            true' 3<"$here/vcd-request.pl" 2>"$work/$name.stderr")
        expected=$(
            echo "profile $name"
            while read -r tool; do [ -n "$tool" ] && echo "tool $tool"; done <"$dir/tools"
            for f in H8 H8/BAT0/state H8/BAT0/info H8/BAT1/state H8/BAT1/info; do [ -e "$dir/$f" ] && echo "file /proc/$f"; done
            [ -f "$dir/nubstick-rate" ] && echo "file /sys/devices/platform/i8042/serio0/serio2/rate" &&
                echo "sys /sys/devices/platform/i8042/serio0/serio2/rate"
            sed 's/^/env /' "$dir/session" 2>/dev/null
            grep -qx gsettings "$dir/tools" && echo "env GSETTINGS_BACKEND=keyfile"
            echo "bus org.freedesktop.DBus"
            sed 's/^/bus /' "$dir/session-bus" 2>/dev/null
            grep -qx org.freedesktop.ScreenSaver "$dir/session-bus" 2>/dev/null && echo "bus org.kde.screensaver"
            [ -f "$dir/system-bus" ] && echo "system-bus org.freedesktop.DBus" && sed '/^$/d; s/^/system-bus /' "$dir/system-bus"
            (cd "$dir" && find root -type f 2>/dev/null) | sed 's/^root/same /'
            (cd "$dir" && find root/sys -type f 2>/dev/null) | sed 's/^root/sys /'
            gawk -F '\t' '!/^#/ { split("dev uevent device/name device/id/vendor device/id/product", f, " "); for (i = 1; i <= 5; i++) print "sys /sys/class/input/" $1 "/" f[i] }' \
                "$dir/libinput-devices" 2>/dev/null
            grep -qx pm "$dir/addons" 2>/dev/null && echo "file /opt/lapstone/pm/pm.sh"
            grep -qx ac "$dir/addons" 2>/dev/null && echo "file /opt/lapstone/ac/ac.sh"
            for f in kdesktoprc kpowersaverc; do
                [ -f "$dir/home/.kde/share/config/$f" ] && echo "file /home/lapstone/.kde/share/config/$f"
            done
            echo "issue $(grep Linux "$dir/issue")"
            echo "memory $(grep MemTotal "$dir/meminfo" | gawk '{print $2 $3}')"
            grep -qx dmidecode "$dir/tools" && echo "vendor $(grep -c 'Vendor: VELTOR' "$dir/dmidecode.txt")"
        )
        # The launcher puts tools in a fixed order, the profile in its own; compare as sets of lines.
        if diff <(sort <<<"$expected") <(sort <<<"$view") >"$work/$name.diff"; then
            pass "$name: the sandbox shows the profile"
        else
            fail "$name: the sandbox differs from the profile:"
            cat "$work/$name.diff"
            cat "$work/$name.stderr"
        fi
        if [ -f "$dir/addons" ]; then
            local log_expected=""
            grep -qx pm "$dir/addons" && log_expected+="pm.sh start"$'\n'"pm.sh finished"$'\n'
            grep -qx ac "$dir/addons" && log_expected+="ac.sh start"$'\n'"ac.sh finished"$'\n'
            expect "$name: the add-on scripts logged their start and their end" \
                diff <(printf '%s' "$log_expected") "$out/tools.log"
        fi
    done
}

# Today's desktops: the stand-ins and real tools answer, and what they change shows in the reports.
run_desktop() {
    local name out expected
    # PROFILE SCRIPT EXPECTED_OUTPUT EXPECTED_TOOLS_LOG DIFF_LINE...
    desktop_case() {
        name=$1 out=$work/$1
        launcher --profile "$1" --build "$build" --out "$out" -- sh -c "$2" >"$work/$1.txt" 2>&1
        expect "$1: the tools answer as on the desktop" diff <(printf '%s\n' "$3") "$work/$1.txt"
        expect "$1: tools.log holds the calls" diff <(printf '%s\n' "$4") "$out/tools.log"
        shift 4
        for line; do expect "$name: changes.diff has '$line'" grep -qxF -- "$line" "$out/changes.diff"; done
    }
    local kwin="--session --dest org.kde.KWin --object-path /org/kde/KWin/InputDevice"
    local props=org.freedesktop.DBus.Properties
    desktop_case debian12-plasma '
        xinput list --name-only | grep VELTOR
        xinput set-prop "VELTOR TouchPad" "Device Enabled" 0 && xinput list-props "VELTOR TouchPad" | grep "Device Enabled"
        xinput disable 7 && xinput enable "pointer:VELTOR NubStick" && xinput list-props 8 | grep -c "Device Enabled (112):.1"
        xinput disable "No Such Pad" || echo refused
        udevadm info -q property -n /dev/input/event5 | grep TOUCHPAD; udevadm info /sys/class/input/event6 | grep STICK
        kreadconfig5 --file kscreenlockerrc --group Daemon --key Autolock
        kwriteconfig5 --file kscreenlockerrc --group Daemon --key LockOnResume false
        gdbus call --session --dest org.freedesktop.ScreenSaver --object-path /ScreenSaver --method org.kde.screensaver.configure
        gdbus call '"$kwin"' --method '"$props"'.Get org.kde.KWin.InputDeviceManager devicesSysNames 2>&1 | grep -o ServiceUnknown
        kcmshell5 kcm_touchpad' \
        $'VELTOR TouchPad\nVELTOR NubStick\n\tDevice Enabled (112):\t0\n1\nunable to find device No Such Pad\nrefused
ID_INPUT_TOUCHPAD=1\nE: ID_INPUT_POINTINGSTICK=1\ntrue\n()\nServiceUnknown' \
        $'xinput set-prop VELTOR TouchPad Device Enabled 0\nxinput disable 7\nxinput enable pointer:VELTOR NubStick
dbus org.freedesktop.ScreenSaver /ScreenSaver org.kde.screensaver.configure\nkcmshell5 kcm_touchpad' \
        $'+event5\ttouchpad\t0\tVELTOR TouchPad' "+LockOnResume=false"
    desktop_case debian12-plasma-wayland '
        gdbus call '"$kwin"' --method '"$props"'.Get org.kde.KWin.InputDeviceManager devicesSysNames
        gdbus call '"$kwin"'/event6 --method '"$props"'.Set org.kde.KWin.InputDevice enabled "<true>"
        gdbus call '"$kwin"'/event6 --method '"$props"'.GetAll org.kde.KWin.InputDevice
        gdbus call '"$kwin"'/event6 --method '"$props"'.Set org.kde.KWin.InputDevice name "<\"x\">" 2>&1 | grep -o PropertyReadOnly
        [ "$(whereis xinput)" = "xinput:" ] && echo "no xinput"' \
        $'(<[\'event3\', \'event5\', \'event6\']>,)\n()
({\'sysName\': <\'event6\'>, \'name\': <\'VELTOR NubStick\'>, \'enabled\': <true>, \'supportsDisableEvents\': <true>, \'keyboard\': <false>, \'pointer\': <true>, \'touchpad\': <false>},)
PropertyReadOnly\nno xinput' \
        "dbus org.kde.KWin /org/kde/KWin/InputDevice/event6 org.kde.KWin.InputDevice.enabled=true" \
        $'+event6\tpointingstick\t1\tVELTOR NubStick'
    desktop_case debian12-gnome '
        gsettings get org.gnome.desktop.screensaver lock-enabled
        gsettings set org.gnome.desktop.peripherals.touchpad send-events disabled
        gnome-control-center mouse' \
        "true" "gnome-control-center mouse" "+send-events='disabled'" "+last-panel='mouse'"
}

case "$case_name" in
default) run_default ;;
desktop) run_desktop ;;
bare) run_bare ;;
profiles) run_profiles ;;
*) echo "unknown case $case_name" >&2; exit 2 ;;
esac

expect "the host's /tmp capture paths are untouched" [ "$tmp_before" = "$(host_tmp_state)" ]
expect "the profiles are unchanged" [ "$profiles_before" = "$(profile_state)" ]

echo "$failures failure(s)"
[ "$failures" = 0 ]
