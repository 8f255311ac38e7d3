#!/bin/bash
# Runs a command inside a simulated Lapstone notebook: a private mount namespace (bubblewrap) in
# which a machine profile's files stand at the paths the program reads, stand-ins replace the
# external tools the profile lists, the privileged daemon runs as root, and the program is
# installed under /opt/lapstone. See sim/README.md.
set -euo pipefail

usage() {
    cat >&2 <<'EOF'
usage: run-in-sim.sh [--profile NAME|DIR] [--out DIR] [--build DIR] [--installed ROOT] [--as-root]
                     [--no-daemon] [--home DIR] -- COMMAND [ARG...]
  --profile NAME|DIR  machine profile: a name under sim/profiles or a directory (default veltor-t2)
  --out DIR           where the run's logs and reports go (default BUILD/sim-runs/PROFILE-TIME)
  --build DIR         the build tree holding the program and the daemon (default <repo>/build)
  --installed ROOT    take the daemon, pictures and help pages as the packages installed them in the
                      system at ROOT (/ for this one): the daemon starts from the ExecStart= line of
                      ROOT's lapstone-vcd.service; the build tree then gives lapstone-scenario only
  --as-root           run COMMAND as root instead of the user "lapstone" (uid 1000)
  --no-daemon         do not start the privileged daemon lapstone-vcd
  --home DIR          the user's home inside, a folder under /home (default /home/lapstone)
EOF
    exit 2
}

fail() {
    echo "run-in-sim: $*" >&2
    exit 125
}

sim=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$sim")
profile=veltor-t2
out=""
build="$repo/build"
installed=""
as_root=0
daemon=1
home=/home/lapstone
while [ $# -gt 0 ]; do
    case "$1" in
    --profile) [ $# -ge 2 ] || usage; profile=$2; shift 2 ;;
    --out) [ $# -ge 2 ] || usage; out=$2; shift 2 ;;
    --build) [ $# -ge 2 ] || usage; build=$2; shift 2 ;;
    --installed) [ $# -ge 2 ] || usage; installed=$2; shift 2 ;;
    --as-root) as_root=1; shift ;;
    --no-daemon) daemon=0; shift ;;
    --home) [ $# -ge 2 ] || usage; home=$2; shift 2 ;;
    --) shift; break ;;
    -h | --help) usage ;;
    *) echo "run-in-sim: unknown option $1" >&2; usage ;;
    esac
done
[ $# -ge 1 ] || usage

# The home is made on the sandbox's own /home; blanks and other characters are welcome, but a colon or
# a line feed could not stand in /etc/passwd.
case "$home" in
/home/*/* | *:* | *"
"*) echo "run-in-sim: --home must be a folder right under /home, without a colon: $home" >&2; usage ;;
/home/?*) ;;
*) echo "run-in-sim: --home must be a folder right under /home, without a colon: $home" >&2; usage ;;
esac

# --- Profile ----------------------------------------------------------------------------------------
case "$profile" in
*/*) profile_dir=$profile ;;
*) profile_dir=$sim/profiles/$profile ;;
esac
[ -d "$profile_dir" ] || fail "no such profile: $profile"
profile_dir=$(cd "$profile_dir" && pwd)
profile_name=$(basename "$profile_dir")
for file in tools issue version cpuinfo meminfo; do
    [ -f "$profile_dir/$file" ] || fail "profile $profile_name lacks its file $file"
done
# Stand-ins of the old desktop, stand-ins of today's (they need hardware or a running desktop), and
# Debian's own tools, which stay the host's and are only hidden when the profile lacks them.
old_standins=" dmidecode synclient kdesu yast2 kcmshell dcop firefox "
new_standins=" xinput udevadm kcmshell5 kcmshell6 systemsettings gnome-control-center kreadconfig6 kwriteconfig6 "
real_tools=" gdbus gsettings kreadconfig5 kwriteconfig5 "
known_tools="$old_standins${new_standins# }${real_tools# }"
tools=()
while read -r tool; do
    [ -n "$tool" ] || continue
    [[ "$known_tools" == *" $tool "* ]] || fail "profile $profile_name lists an unknown tool: $tool"
    tools+=("$tool")
done <"$profile_dir/tools"
has_tool() { [[ " ${tools[*]:-} " == *" $1 "* ]]; }
if has_tool dmidecode; then [ -f "$profile_dir/dmidecode.txt" ] || fail "profile $profile_name lists dmidecode but has no dmidecode.txt"; fi
if has_tool synclient; then [ -f "$profile_dir/synclient.txt" ] || fail "profile $profile_name lists synclient but has no synclient.txt"; fi
declare -A real_packages=([gdbus]=libglib2.0-bin [gsettings]=libglib2.0-bin [kreadconfig5]=libkf5config-bin
    [kwriteconfig5]=libkf5config-bin)
for tool in $real_tools; do
    if has_tool "$tool" && [ ! -x "/usr/bin/$tool" ]; then
        fail "profile $profile_name lists $tool, which is not installed here (Debian package ${real_packages[$tool]})"
    fi
done
if has_tool gsettings && [ ! -f /usr/share/glib-2.0/schemas/org.gnome.desktop.screensaver.gschema.xml ]; then
    fail "profile $profile_name lists gsettings, but GNOME's schemas are not installed (Debian package gsettings-desktop-schemas)"
fi
# KF6's kreadconfig6/kwriteconfig6 (Debian 13) run the host's KF5 tools, which take the same lines.
for tool in kreadconfig kwriteconfig; do
    if has_tool ${tool}6 && [ ! -x "/usr/bin/${tool}5" ]; then
        fail "profile $profile_name lists ${tool}6, whose stand-in runs ${tool}5, which is not installed here (Debian package libkf5config-bin)"
    fi
done
# gnome-control-center is the release the profile names.
if has_tool gnome-control-center; then
    grep -qx '\(43\|48\)\.[0-9]*' "$profile_dir/gnome-control-center" 2>/dev/null ||
        fail "profile $profile_name lists gnome-control-center but its file gnome-control-center names no release of it (43.N or 48.N)"
    /usr/bin/python3 -c 'import gi.repository.GLib' 2>/dev/null || fail "the gnome-control-center stand-in needs python3-gi"
fi
if has_tool xinput || has_tool udevadm; then
    [ -f "$profile_dir/libinput-devices" ] || fail "profile $profile_name lists xinput or udevadm but has no libinput-devices"
fi
# Every notebook has a session bus; a profile's session-bus file names the desktop's services on it
# that stand-ins provide.
[ -x /usr/bin/dbus-daemon ] || fail "dbus-daemon is not installed; on Debian: apt-get install dbus-daemon dbus-bin"
services=()
if [ -f "$profile_dir/session-bus" ]; then
    while read -r service; do
        case "$service" in
        "") ;;
        org.kde.KWin) [ -f "$profile_dir/libinput-devices" ] || fail "profile $profile_name has KWin's input devices but no libinput-devices"
            services+=("$service") ;;
        org.freedesktop.ScreenSaver) services+=("$service") ;;
        *) fail "profile $profile_name lists an unknown session-bus service: $service" ;;
        esac
    done <"$profile_dir/session-bus"
fi
# The system bus, where the profile has one: its file names the system services that run.
system_services=()
system_bus=0
if [ -f "$profile_dir/system-bus" ]; then
    system_bus=1
    while read -r service; do
        case "$service" in
        "") ;;
        org.freedesktop.ModemManager1) system_services+=("$service") ;;
        *) fail "profile $profile_name lists an unknown system-bus service: $service" ;;
        esac
    done <"$profile_dir/system-bus"
fi
if [ ${#services[@]} -gt 0 ] || [ ${#system_services[@]} -gt 0 ]; then
    /usr/bin/python3 -c 'import dbus, dbus.mainloop.glib, gi.repository.GLib' 2>/dev/null ||
        fail "the session-bus stand-ins need python3-dbus and python3-gi"
fi
# The session's environment: only these names, values without blanks or quotes.
if [ -f "$profile_dir/session" ]; then
    grep -v -x -E '(XDG_CURRENT_DESKTOP|XDG_SESSION_TYPE|XDG_SESSION_DESKTOP|DESKTOP_SESSION|KDE_FULL_SESSION|KDE_SESSION_VERSION)=[^[:space:]"'"'"'*?\\$`]*' \
        "$profile_dir/session" | grep -q . && fail "profile $profile_name's session file has a line other than NAME=VALUE for a session variable"
fi
addons=()
if [ -f "$profile_dir/addons" ]; then
    while read -r addon; do
        case "$addon" in
        "") ;;
        pm | ac) addons+=("$addon") ;;
        *) fail "profile $profile_name lists an unknown add-on: $addon" ;;
        esac
    done <"$profile_dir/addons"
fi

# --- Build tree and output folder ----------------------------------------------------------------------
[ -d "$build" ] || fail "no build tree at $build (build first, or give --build)"
build=$(cd "$build" && pwd)
program=$build/app/LapstoneConfiguration
vcd=$build/daemon/lapstone-vcd
scenario=$build/sim/driver/lapstone-scenario
# The daemon's command line inside the sandbox.
vcd_command=/opt/lapstone/vc/bin/lapstone-vcd
if [ -n "$installed" ]; then
    [ -d "$installed" ] || fail "no installed system at $installed"
    installed=$(cd "$installed" && pwd)
    unit=""
    for dir in /etc/systemd/system /lib/systemd/system /usr/lib/systemd/system /usr/local/lib/systemd/system; do
        [ -f "$installed$dir/lapstone-vcd.service" ] && { unit=$installed$dir/lapstone-vcd.service; break; }
    done
    [ -n "$unit" ] || fail "no lapstone-vcd.service installed under $installed"
    vcd_command=$(sed -n 's/^ExecStart=//p' "$unit" | tail -n 1)
    [ -n "$vcd_command" ] || fail "$unit has no ExecStart= line"
    vcd=$installed${vcd_command%% *}
    [ -x "$vcd" ] || [ "$daemon" = 0 ] || fail "$unit starts ${vcd_command%% *}, which is not installed"
    [ -d "$installed/opt/lapstone/vc/bin/image" ] || fail "no pictures installed under $installed/opt/lapstone/vc"
    program=""
else
    [ -x "$vcd" ] || [ "$daemon" = 0 ] || fail "no daemon at $vcd (build it, or give --no-daemon)"
    [ -x "$program" ] || echo "run-in-sim: note: $program is not built; /opt/lapstone/vc/bin lacks the program" >&2
fi

if [ -z "$out" ]; then
    out=$build/sim-runs/$profile_name-$(date +%Y%m%d-%H%M%S)
    [ -e "$out" ] && out=$out-$$
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out/tools.log" "$out/daemon.log" "$out/changes.diff" "$out/tmp-leftovers.txt"

# --- Who we are: real root, or root of a user namespace of our own -----------------------------------
command -v bwrap >/dev/null || fail "bubblewrap (bwrap) is not installed; on Debian: apt-get install bubblewrap"
bwrap_args=(--die-with-parent --unshare-pid --unshare-ipc --unshare-net
    --cap-add ALL)
if [ "$(id -u)" -eq 0 ]; then
    command_uid=1000
    [ "$as_root" = 1 ] && command_uid=0
    home_owner=1000
    # The user inside writes its transcript and screenshots here.
    [ "$command_uid" = 0 ] || chown 1000:1000 "$out"
else
    if ! bwrap --unshare-user --uid 0 --gid 0 --ro-bind / / true 2>/dev/null; then
        fail "not root, and this system does not let an ordinary user make a user namespace
(kernel.unprivileged_userns_clone or user.max_user_namespaces); run the launcher as root"
    fi
    echo "run-in-sim: not run as root: only your own uid is mapped into the sandbox, so the daemon" \
        "and the command both run as the sandbox's root (uid 0), not as the user lapstone" >&2
    bwrap_args+=(--unshare-user --uid 0 --gid 0)
    command_uid=0
    home_owner=0
fi

# --- Shadowed folders: a tmpfs holding binds of the host's entries, minus some ---------------------------
# Hits of whereis for tools the profile lacks must not be visible inside.
# A stand-in the profile has hides the host's program of that name too (its manual page stays).
declare -A hidden=()
for tool in $known_tools; do
    if has_tool "$tool"; then
        [[ "$real_tools" == *" $tool "* ]] && continue
        for hit in $(PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin whereis -b "$tool" | cut -d: -f2-); do
            case "$hit" in /usr/local/bin/* | /usr/sbin/dmidecode | /usr/sbin/yast2 | /sbin/*) ;; *) hidden[$hit]=1 ;; esac
        done
        continue
    fi
    for hit in $(PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin whereis "$tool" | cut -d: -f2-); do
        hidden[$hit]=1
    done
done
shadow() { # DIR EXCEPT...: DIR becomes a tmpfs with the host's entries bound in, but not EXCEPT
    local dir=$1 type target entry
    shift
    bwrap_args+=(--tmpfs "$dir")
    # One find for the whole folder: /usr/bin holds some thousand entries.
    while IFS= read -r -d '' type && IFS= read -r -d '' target && IFS= read -r -d '' entry; do
        [[ " $* " == *" ${entry##*/} "* ]] && continue
        [ -z "${hidden[$entry]:-}" ] || continue
        if [ "$type" = l ]; then
            bwrap_args+=(--symlink "$target" "$entry")
        else
            bwrap_args+=(--ro-bind "$entry" "$entry")
        fi
    done < <(find "$dir" -mindepth 1 -maxdepth 1 -printf '%y\0%l\0%p\0')
}

# A folder of manual pages holds thousands of entries, more than bwrap takes mounts or links for:
# there the tmpfs holds only the pages of the tools the profile lists.
shadow_manual() { # DIR
    local dir=$1 entry tool
    bwrap_args+=(--tmpfs "$dir")
    for tool in ${tools[@]+"${tools[@]}"}; do
        for entry in "$dir/$tool".*; do
            if [ -e "$entry" ]; then bwrap_args+=(--ro-bind "$entry" "$entry"); fi
        done
    done
}

# --- The file system ------------------------------------------------------------------------------------
bwrap_args+=(--ro-bind /usr /usr)
for entry in /bin /sbin /lib /lib32 /lib64 /libx32; do
    if [ -L "$entry" ]; then
        bwrap_args+=(--symlink "$(readlink "$entry")" "$entry")
    elif [ -d "$entry" ]; then
        bwrap_args+=(--ro-bind "$entry" "$entry")
    fi
done
bwrap_args+=(--dev /dev --ro-bind /var /var --tmpfs /var/tmp)

# Other folders that whereis searches and that hold a host copy of a missing tool.
declare -A shadowed=()
for hit in "${!hidden[@]}"; do
    parent=$(dirname "$hit")
    case "$parent" in
    /usr/sbin | /usr/local/bin | /usr/local/bin/* | /etc | /etc/X11 | /opt | /opt/* | /tmp* | /home* | /root* | /run*) ;;
    /usr/*) shadowed[$parent]=1 ;;
    esac
done
for dir in $(printf '%s\n' "${!shadowed[@]}" | sort); do
    case "$dir" in
    /usr/share/man/* | /usr/share/info*) shadow_manual "$dir" ;;
    *) shadow "$dir" ;;
    esac
done

# /usr/sbin: the host's tools, with dmidecode and yast2 replaced by stand-ins when the profile has them.
shadow /usr/sbin dmidecode yast2
has_tool dmidecode && bwrap_args+=(--ro-bind "$sim/tools/dmidecode" /usr/sbin/dmidecode)
has_tool yast2 && bwrap_args+=(--ro-bind "$sim/tools/desktop-tool" /usr/sbin/yast2)
# /usr/local/bin: the desktop's tools.
bwrap_args+=(--tmpfs /usr/local/bin)
has_tool synclient && bwrap_args+=(--ro-bind "$sim/tools/synclient" /usr/local/bin/synclient)
for tool in kdesu kcmshell dcop firefox kcmshell5 kcmshell6 systemsettings; do
    has_tool "$tool" && bwrap_args+=(--ro-bind "$sim/tools/desktop-tool" "/usr/local/bin/$tool")
done
for tool in kreadconfig6 kwriteconfig6; do
    has_tool "$tool" && bwrap_args+=(--ro-bind "$sim/tools/kconfig6" "/usr/local/bin/$tool")
done
for tool in xinput udevadm gnome-control-center; do
    has_tool "$tool" && bwrap_args+=(--ro-bind "$sim/tools/$tool" "/usr/local/bin/$tool")
done
# The real gsettings, but without a session bus it keeps nothing, as with GNOME's dconf.
has_tool gsettings && bwrap_args+=(--ro-bind "$sim/tools/gsettings" /usr/local/bin/gsettings)
bwrap_args+=(--remount-ro /usr/sbin --remount-ro /usr/local/bin)

# The profile's root/: files laid over the notebook's root, read-only. Under /sys they are all there
# is (beside the rate file and the input devices) (folders made as needed); directly in /etc they replace or add the host's entry;
# anywhere else they stand in for a file the host has (/usr/lib/os-release).
overlay_files=()
overlay_dirs=()
overlay_etc=()
if [ -d "$profile_dir/root" ]; then
    while IFS= read -r -d '' path; do
        rel=${path#"$profile_dir/root"}
        if [ -d "$path" ]; then
            case "$rel" in /sys/*) overlay_dirs+=("$rel") ;; esac
            continue
        fi
        [ -f "$path" ] || fail "profile $profile_name: root$rel is neither a file nor a folder"
        case "$rel" in
        /sys/*) ;;
        /etc/issue | /etc/passwd | /etc/group | /etc/X11*) fail "profile $profile_name: root$rel is the launcher's own" ;;
        /etc/*/*) fail "profile $profile_name: root$rel: only files directly in /etc can be laid over it" ;;
        /etc/*) overlay_etc+=("${rel#/etc/}") ;;
        /proc/* | /run/* | /tmp/* | /home/* | /root/* | /opt/* | /dev/*)
            fail "profile $profile_name: root$rel: the profile's other files stand there" ;;
        *) [ -f "$rel" ] || fail "profile $profile_name: root$rel lays over a file this host lacks" ;;
        esac
        overlay_files+=("$rel")
    done < <(find "$profile_dir/root" -mindepth 1 -print0 | sort -z)
fi

# /etc: the host's, with the profile's issue and X configuration and accounts of its own.
shadow /etc issue passwd group X11 ${overlay_etc[@]+"${overlay_etc[@]}"}
bwrap_args+=(--ro-bind "$profile_dir/issue" /etc/issue)
if [ -d /etc/X11 ]; then shadow /etc/X11 xorg.conf; else bwrap_args+=(--dir /etc/X11); fi

# /proc: the real one stays reachable through links, but the machine's own files come from the profile.
bwrap_args+=(--tmpfs /run --proc /run/host-proc --tmpfs /proc)
for entry in /proc/*; do
    name=$(basename "$entry")
    case "$name" in
    [0-9]*) ;;
    version | cpuinfo | meminfo | H8) ;;
    *) bwrap_args+=(--symlink "/run/host-proc/$name" "/proc/$name") ;;
    esac
done
bwrap_args+=(--ro-bind "$profile_dir/version" /proc/version --ro-bind "$profile_dir/cpuinfo" /proc/cpuinfo
    --ro-bind "$profile_dir/meminfo" /proc/meminfo)
[ -d "$profile_dir/H8" ] && bwrap_args+=(--ro-bind "$profile_dir/H8" /proc/H8)
bwrap_args+=(--remount-ro /proc)

# /sys: only the pointing stick's rate file, which init.sh writes when the profile has one.
bwrap_args+=(--tmpfs /sys)
[ -f "$profile_dir/nubstick-rate" ] && bwrap_args+=(--dir /sys/devices/platform/i8042/serio0/serio2)

bwrap_args+=(--perms 1777 --tmpfs /tmp --tmpfs /home --perms 0700 --tmpfs /root)

# The overlay, now that the folders it lies in stand.
for dir in ${overlay_dirs[@]+"${overlay_dirs[@]}"}; do bwrap_args+=(--perms 0755 --dir "$dir"); done
for file in ${overlay_files[@]+"${overlay_files[@]}"}; do bwrap_args+=(--ro-bind "$profile_dir/root$file" "$file"); done

# /opt/lapstone: the program as installed.
# bwrap makes missing parents of a bind private (0700), so every folder is made explicitly.
bwrap_args+=(--tmpfs /opt --perms 0755 --dir /opt/lapstone --perms 0755 --dir /opt/lapstone/vc
    --perms 0755 --dir /opt/lapstone/vc/bin --perms 0755 --dir /opt/lapstone/vc/help)
[ -x "$scenario" ] && bwrap_args+=(--ro-bind "$scenario" /opt/lapstone/vc/bin/lapstone-scenario)
if [ -n "$installed" ]; then
    # The installed program and daemon stay where the packages put them; the daemon of an installed
    # system other than this one is brought in beside the scenario driver, with the unit's arguments.
    if [ "$installed" != / ] && [ -x "$vcd" ]; then
        bwrap_args+=(--ro-bind "$vcd" /opt/lapstone/vc/bin/lapstone-vcd)
        case "$vcd_command" in
        *" "*) vcd_command="/opt/lapstone/vc/bin/lapstone-vcd ${vcd_command#* }" ;;
        *) vcd_command=/opt/lapstone/vc/bin/lapstone-vcd ;;
        esac
    fi
    images=$installed/opt/lapstone/vc/bin/image
    help=$installed/opt/lapstone/vc/help/html
else
    [ -x "$program" ] && bwrap_args+=(--ro-bind "$program" /opt/lapstone/vc/bin/LapstoneConfiguration)
    [ -x "$vcd" ] && bwrap_args+=(--ro-bind "$vcd" /opt/lapstone/vc/bin/lapstone-vcd)
    images=$repo/resources/images
    help=$repo/resources/help
fi
bwrap_args+=(--ro-bind "$images" /opt/lapstone/vc/bin/image)
if [ -d "$help" ]; then
    bwrap_args+=(--ro-bind "$help" /opt/lapstone/vc/help/html)
else
    bwrap_args+=(--dir /opt/lapstone/vc/help/html)
fi
for addon in "${addons[@]}"; do
    bwrap_args+=(--perms 0755 --dir "/opt/lapstone/$addon"
        --ro-bind "$sim/tools/addon-script" "/opt/lapstone/$addon/$addon.sh")
done
bwrap_args+=(--remount-ro /opt)

# The simulator's own folder.
bwrap_args+=(--perms 0755 --dir /run/lapstone-sim --perms 0755 --dir /run/lapstone-sim/host
    --ro-bind "$profile_dir" /run/lapstone-sim/profile --bind "$out" /run/lapstone-sim/out
    --ro-bind "$sim/launcher/init.sh" /run/lapstone-sim/init.sh
    --ro-bind "$sim/launcher/session-bus.conf" /run/lapstone-sim/session-bus.conf
    --ro-bind "$sim/launcher/system-bus.conf" /run/lapstone-sim/system-bus.conf
    --ro-bind "$sim/tools/session-services" /run/lapstone-sim/session-services
    --ro-bind /etc/passwd /run/lapstone-sim/host/passwd --ro-bind /etc/group /run/lapstone-sim/host/group
    --tmpfs /run/lapstone-sim/machine)
# The host's KF5 tools, out of whereis's way, for the KF6 tools' stand-in.
for tool in kreadconfig5 kwriteconfig5; do
    if has_tool "${tool%5}6"; then bwrap_args+=(--ro-bind "/usr/bin/$tool" "/run/lapstone-sim/host/$tool"); fi
done

# The display, when there is one: its socket and its authority file.
display=""
xauth=""
if [ -n "${DISPLAY:-}" ]; then
    display=$DISPLAY
    if [[ "$DISPLAY" =~ ^(unix)?:([0-9]+)(\.[0-9]+)?$ ]]; then
        x_socket=/tmp/.X11-unix/X${BASH_REMATCH[2]}
        if [ -S "$x_socket" ]; then
            bwrap_args+=(--perms 1777 --dir /tmp/.X11-unix --ro-bind "$x_socket" "$x_socket")
        else
            echo "run-in-sim: warning: DISPLAY=$DISPLAY but there is no socket $x_socket" >&2
        fi
    else
        echo "run-in-sim: warning: DISPLAY=$DISPLAY is not a local display; the sandbox has no network" >&2
    fi
    auth=${XAUTHORITY:-$HOME/.Xauthority}
    if [ -f "$auth" ]; then
        bwrap_args+=(--ro-bind "$auth" /run/lapstone-sim/host/Xauthority)
        xauth=1
    fi
fi

# A Wayland compositor, when there is one: its socket, reached by an absolute WAYLAND_DISPLAY.
wayland=""
if [ -n "${WAYLAND_DISPLAY:-}" ]; then
    case "$WAYLAND_DISPLAY" in
    /*) wayland_socket=$WAYLAND_DISPLAY ;;
    *) wayland_socket=${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/$WAYLAND_DISPLAY ;;
    esac
    if [ -S "$wayland_socket" ]; then
        bwrap_args+=(--bind "$wayland_socket" /run/lapstone-sim/wayland)
        wayland=/run/lapstone-sim/wayland
    else
        echo "run-in-sim: warning: WAYLAND_DISPLAY=$WAYLAND_DISPLAY but there is no socket $wayland_socket" >&2
    fi
fi

# The mount list goes to bwrap through a descriptor of its own (the command line would be too long for
# some thousand entries); descriptors the caller passes stay as they are.
exec {args_fd}< <(printf '%s\0' "${bwrap_args[@]}")
exec env -i PATH=/usr/bin:/bin:/usr/sbin:/sbin LANG=C.UTF-8 LAPSTONE_SIM_PROFILE="$profile_name" LAPSTONE_SIM_HOME="$home" \
    LAPSTONE_SIM_DISPLAY="$display" LAPSTONE_SIM_XAUTH="$xauth" LAPSTONE_SIM_QPA="${QT_QPA_PLATFORM:-}" \
    LAPSTONE_SIM_WAYLAND="$wayland" \
    LAPSTONE_SIM_VCD="$vcd_command" LAPSTONE_SIM_TOOLS="$known_tools" LAPSTONE_SIM_SERVICES="${services[*]:-}" \
    LAPSTONE_SIM_SYSTEM_BUS="$system_bus" LAPSTONE_SIM_SYSTEM_SERVICES="${system_services[*]:-}" \
    bwrap --args "$args_fd" --chdir / \
    /bin/sh /run/lapstone-sim/init.sh "$command_uid" "$home_owner" "$daemon" -- "$@"
