#!/bin/bash
# Checks every machine profile against the formats the program parses, so that a hand-edited
# profile fails here rather than as a puzzling scenario result.
# Usage: profile-lint.sh [PROFILE_DIR...]   (default: every profile under sim/profiles)
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
profiles=("$@")
[ ${#profiles[@]} -gt 0 ] || profiles=("$(dirname "$here")"/profiles/*/)
failures=0
problem() { echo "FAIL $name: $*"; failures=$((failures + 1)); }

# FILE LABEL...: each label stands in its own line, in this order, and nothing else is there.
labels_in_order() {
    local file=$1
    shift
    [ "$(cut -d: -f1 "$file" | sed 's/$/:/')" = "$(printf '%s\n' "$@")" ]
}

for dir in "${profiles[@]}"; do
    dir=${dir%/}
    name=$(basename "$dir")
    before=$failures
    for file in tools issue version cpuinfo meminfo; do
        [ -f "$dir/$file" ] || problem "no $file"
    done
    while read -r tool; do
        case "$tool" in
        dmidecode | synclient | kdesu | yast2 | kcmshell | dcop | firefox | "") ;;
        xinput | udevadm | kcmshell5 | kcmshell6 | systemsettings | gnome-control-center) ;;
        gdbus | gsettings | kreadconfig5 | kwriteconfig5 | kreadconfig6 | kwriteconfig6) ;;
        *) problem "unknown tool $tool" ;;
        esac
    done <"$dir/tools"
    if [ -f "$dir/addons" ]; then
        grep -qvx 'pm\|ac' "$dir/addons" && problem "addons holds something other than pm and ac"
    fi

    dump=$dir/dmidecode.txt
    if [ -f "$dump" ]; then
        [[ "$(head -1 "$dump")" =~ ^"# dmidecode 3."[46]$ ]] || problem "dmidecode.txt does not start with its version header (3.4 or 3.6)"
        # The security dialog's hard-disk query must meet exactly one line, the OEM type 132 record.
        hits=$(grep 84 "$dump" | grep 07 | wc -l)
        [ "$hits" = 1 ] || problem "$hits lines of dmidecode.txt contain both 84 and 07"
        byte=$(grep 84 "$dump" | grep 07 | gawk '{print $6}')
        [[ "$byte" =~ ^[0-9A-F]{2}$ ]] || problem "the hard-disk password byte is '$byte'"
        for label in Power-On Administrator; do
            value=$(grep "$label" "$dump" | gawk '{print $4}')
            [[ "$value" =~ ^(Enabled|Disabled)$ ]] || problem "the $label password query gives '$value'"
        done
        # The labels the collector looks for, in the order it looks for them; only VELTOR's
        # firmware names its embedded controller in the OEM strings.
        labels=('Release Date:' 'Product Name:' 'Serial Number:' 'Serial Number:')
        [[ "$name" == other-* ]] || labels+=('Embedded Controller')
        order=$(grep -n -m1 'Version:' "$dump" | cut -d: -f1)
        for label in "${labels[@]}"; do
            next=$(tail -n +$((order + 1)) "$dump" | grep -n -m1 "$label" | cut -d: -f1)
            if [ -z "$next" ]; then
                problem "no '$label' after line $order of dmidecode.txt"
                break
            fi
            order=$((order + next))
        done
        if grep -qx 'OEM Strings' "$dump"; then
            [ "$(grep -n -m1 'Base Board Information' "$dump" | cut -d: -f1)" -lt "$(grep -n -m1 'OEM Strings' "$dump" | cut -d: -f1)" ] ||
                problem "the OEM strings come before the base board"
        fi
        case "$name" in
        other-*) grep -q 'Vendor: VELTOR' "$dump" && problem "another maker's dump names VELTOR" ;;
        *) grep -q '^	Vendor: VELTOR$' "$dump" || problem "no 'Vendor: VELTOR' in the BIOS section" ;;
        esac
    elif grep -qx dmidecode "$dir/tools"; then
        problem "dmidecode is installed but there is no dmidecode.txt"
    fi

    for battery in BAT0 BAT1; do
        [ -d "$dir/H8/$battery" ] || continue
        labels_in_order "$dir/H8/$battery/state" "AC attached:" "Temperature:" "Voltage:" "Current:" \
            "RelativeStateofCharge:" "RemainingCapacity:" "FullChargeCapacity:" "AverageTimeToEmpty:" "Cycle Count:" ||
            problem "H8/$battery/state does not hold the nine state lines in order"
        # Only a profile named for it may lack a battery's info file.
        [[ ! -f "$dir/H8/$battery/info" && "$name" == *-no-info ]] ||
            labels_in_order "$dir/H8/$battery/info" "Manufacture:" "Device Name:" "Device Chemistry:" "Bar-code:" \
                "First Used Date:" "Design Capacity:" "Design Voltage:" "ManufactureDate:" "Serial Number:" ||
            problem "H8/$battery/info does not hold the nine info lines in order"
        ac=$(sed -n 's/^AC attached: *//p' "$dir/H8/$battery/state")
        [[ "$ac" =~ ^(Yes|No)$ ]] || problem "H8/$battery/state: AC attached is '$ac'"
    done

    if [ -f "$dir/nubstick-rate" ]; then
        grep -qx '[0-9]\+' "$dir/nubstick-rate" || problem "nubstick-rate is not a number"
    fi
    if [ -f "$dir/synclient.txt" ]; then
        [ "$(head -1 "$dir/synclient.txt")" = "Parameter settings:" ] || problem "synclient.txt lacks its heading"
        # Names padded to 20 characters, or to 23 as the synaptics driver's 1.x releases print them;
        # every line of a listing in the same layout.
        line=$(grep TouchpadOff "$dir/synclient.txt")
        [[ "$line" =~ ^"    TouchpadOff"( {10}| {13})"= "[01]$ ]] ||
            problem "the TouchpadOff line is in neither listing layout: '$line'"
        width=$(( $(expr index "$line" =) - 6 ))
        gawk -v width="$width" 'NR > 1 && index($0, sprintf("    %-*s = ", width, $1)) != 1 { bad = 1 }
            END { exit bad }' "$dir/synclient.txt" ||
            problem "synclient.txt mixes layouts"
    elif grep -qx synclient "$dir/tools"; then
        problem "synclient is installed but there is no synclient.txt"
    fi
    if [ -f "$dir/xorg.conf" ]; then
        # Only a profile named for it may lack the option: there the program must add nothing.
        case "$name" in
        *-no-shmconfig) ! grep -q SHMConfig "$dir/xorg.conf" || problem "xorg.conf mentions SHMConfig" ;;
        *) grep -q '^ *Option *"SHMConfig" *"on"' "$dir/xorg.conf" || problem "xorg.conf has no SHMConfig option" ;;
        esac
        # The program adds its option after every line that mentions SHMConfig, comments included.
        [ "$(grep -c SHMConfig "$dir/xorg.conf")" = "$(grep -c '^ *Option *"SHMConfig"' "$dir/xorg.conf")" ] ||
            problem "xorg.conf mentions SHMConfig outside its option line"
    fi
    # Today's desktops: the session, its bus services, the input devices, sysfs and os-release.
    session_type=$(sed -n 's/^XDG_SESSION_TYPE=//p' "$dir/session" 2>/dev/null)
    if [ -f "$dir/session" ]; then
        grep -qvx -E '(XDG_CURRENT_DESKTOP|XDG_SESSION_TYPE|XDG_SESSION_DESKTOP|DESKTOP_SESSION|KDE_FULL_SESSION|KDE_SESSION_VERSION)=[^[:space:]"'"'"']*' \
            "$dir/session" && problem "session has a line that is not a session variable"
        [[ "$session_type" =~ ^(x11|wayland)$ ]] || problem "XDG_SESSION_TYPE is '$session_type'"
    fi
    while read -r service; do
        case "$service" in
        org.kde.KWin) [ "$session_type" = wayland ] || problem "KWin's input devices outside a Wayland session" ;;
        org.freedesktop.ScreenSaver | "") ;;
        *) problem "unknown session-bus service $service" ;;
        esac
    done < <(cat "$dir/session-bus" 2>/dev/null)
    while read -r service; do
        case "$service" in
        org.freedesktop.ModemManager1 | "") ;;
        *) problem "unknown system-bus service $service" ;;
        esac
    done < <(cat "$dir/system-bus" 2>/dev/null)
    if grep -qx gnome-control-center "$dir/tools"; then
        grep -qx '\(43\|48\)\.[0-9]*' "$dir/gnome-control-center" 2>/dev/null || problem "gnome-control-center names no release (43.N or 48.N)"
    fi
    [ ! -f "$dir/xinput" ] || grep -qx '1\.6\.[34]' "$dir/xinput" || problem "xinput names no release (1.6.3 or 1.6.4)"
    if [ -f "$dir/libinput-devices" ]; then
        gawk -F '\t' '/^#/ { next } NF != 4 || $1 !~ /^event[0-9]+$/ || seen[$1]++ || $2 !~ /^(touchpad|pointingstick|mouse|keyboard)$/ ||
            $3 !~ /^[01]$/ || $4 == "" { bad = 1 } END { exit bad }' "$dir/libinput-devices" ||
            problem "libinput-devices has a line other than eventN, kind, 0|1, name (tab-separated, each eventN once)"
    elif grep -qx 'xinput\|udevadm' "$dir/tools" || grep -qx org.kde.KWin "$dir/session-bus" 2>/dev/null; then
        problem "input devices are asked for but there is no libinput-devices"
    fi
    for supply in "$dir"/root/sys/class/power_supply/*/; do
        [ -d "$supply" ] || continue
        supply=${supply%/}
        at=${supply#"$dir/"}
        # Every uevent line names its own attribute file with the same value.
        [ "$(head -1 "$supply/uevent")" = "POWER_SUPPLY_NAME=${supply##*/}" ] || problem "$at/uevent does not start with its name"
        while IFS='=' read -r key value; do
            file=$(tr A-Z a-z <<<"${key#POWER_SUPPLY_}")
            [ "$key" = POWER_SUPPLY_NAME ] || [ "$(cat "$supply/$file" 2>/dev/null)" = "$value" ] ||
                problem "$at/uevent says $key=$value, its file says otherwise"
        done <"$supply/uevent"
        case "$(cat "$supply/type")" in
        Mains) grep -qx '[01]' "$supply/online" || problem "$at/online is not 0 or 1" ;;
        Battery)
            grep -qx 'Unknown\|Charging\|Discharging\|Not charging\|Full' "$supply/status" || problem "$at/status is no battery status"
            [ "$(cat "$supply/capacity")" -le 100 ] 2>/dev/null || problem "$at/capacity is not a percentage"
            # Energy in µWh or charge in µAh, the three of a kind whole numbers with now <= full.
            unit=energy
            [ -f "$supply/energy_now" ] || unit=charge
            for file in ${unit}_now ${unit}_full ${unit}_full_design voltage_now voltage_min_design; do
                grep -qx '[0-9]\+' "$supply/$file" 2>/dev/null || problem "$at/$file is not a whole number of micro-units"
            done
            [ "$(cat "$supply/${unit}_now")" -le "$(cat "$supply/${unit}_full")" ] 2>/dev/null || problem "$at holds more than it can"
            if grep -qx Discharging "$supply/status"; then
                grep -qlx 1 "$dir"/root/sys/class/power_supply/*/online && problem "$at discharges on AC power"
            fi
            ;;
        *) problem "$at/type is neither Mains nor Battery" ;;
        esac
    done
    for release in etc/os-release usr/lib/os-release; do
        [ -f "$dir/root/$release" ] || continue
        grep -q '^PRETTY_NAME="[^"]*"$' "$dir/root/$release" && grep -q '^ID=[a-z]' "$dir/root/$release" ||
            problem "root/$release lacks PRETTY_NAME or ID"
    done
    keyfile=$dir/home/.config/glib-2.0/settings/keyfile
    if [ -f "$keyfile" ] && command -v gsettings >/dev/null; then
        # Every key must be one of the installed schemas', or gsettings ignores it.
        gawk '/^\[/ { schema = substr($0, 2, length($0) - 2); gsub("/", ".", schema); next }
            /=/ { print schema, substr($0, 1, index($0, "=") - 1) }' "$keyfile" |
            while read -r schema key; do
                gsettings range "$schema" "$key" >/dev/null 2>&1 || echo "$schema $key"
            done | grep -q . && problem "the GLib keyfile sets a key no installed schema has"
    fi
    grep -q Linux "$dir/issue" || problem "/etc/issue has no line with Linux"
    [ "$(grep -c '^processor' "$dir/cpuinfo")" -ge 1 ] && grep -q '^model name' "$dir/cpuinfo" ||
        problem "cpuinfo has no processor with a model name"
    grep -q '^MemTotal: *[0-9]* kB$' "$dir/meminfo" || problem "meminfo has no MemTotal line"
    grep -q '^Linux version ' "$dir/version" || problem "version does not start with 'Linux version'"
    [ "$failures" = "$before" ] && echo "ok   $name"
done
echo "$failures problem(s)"
[ "$failures" = 0 ]
