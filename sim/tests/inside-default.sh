#!/bin/sh
# Runs inside the default notebook as its ordinary user and checks what the program will meet
# there. One line per check; the exit status is the number of failed checks.
# Usage: inside-default.sh EXPECTED_UID
failures=0
check() { # DESCRIPTION COMMAND...
    what=$1
    shift
    if "$@" >/dev/null 2>&1; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
# Checks of what an ordinary user may not do; as the only mapped uid we are the sandbox's root.
as_user() { if [ "$(id -u)" -ne 0 ]; then check "$@"; else echo "skip $1 (not an ordinary user)"; fi; }
first_is() { [ "$(sed -n 1p "$1" 2>/dev/null)" = "$2" ]; }
profile=/run/lapstone-sim/profile
probe=$(dirname "$0")
rate=/sys/devices/platform/i8042/serio0/serio2/rate
ask() { perl "$probe/vcd-request.pl" "$1"; }

check "runs as uid $1" test "$(id -u)" = "$1"
check "HOME is /home/lapstone" test "$HOME" = /home/lapstone
check "the home holds the profile's KDE settings" cmp "$HOME/.kde/share/config/kdesktoprc" "$profile/home/.kde/share/config/kdesktoprc"
check "the profile's name is in the environment" test "$LAPSTONE_SIM_PROFILE" = veltor-t2
check "the account exists" sh -c 'getent passwd lapstone | grep -q ":1000:1000:.*:/home/lapstone:"'

for tool in dmidecode synclient kdesu yast2 kcmshell dcop firefox; do
    check "whereis finds $tool" sh -c "whereis $tool | grep -q '^$tool: /'"
done
check "whereis finds nothing it should not" sh -c '[ "$(whereis nosuchtool)" = "nosuchtool:" ]'
check "/sbin/yast2 exists" test -x /sbin/yast2
check "the shell tools are the real ones" sh -c 'for t in sed gawk grep cat cp rm mv echo whereis; do command -v $t; done'

check "the machine files come from the profile" sh -c "cmp /proc/version $profile/version && cmp /proc/cpuinfo $profile/cpuinfo && cmp /proc/meminfo $profile/meminfo && cmp /etc/issue $profile/issue && cmp /etc/X11/xorg.conf $profile/xorg.conf"
check "both batteries are there" sh -c "cmp /proc/H8/BAT0/state $profile/H8/BAT0/state && cmp /proc/H8/BAT1/info $profile/H8/BAT1/info"
check "/proc/self and /proc/mounts still work" sh -c "grep -q '^Pid:' /proc/self/status && grep -q ' /tmp tmpfs ' /proc/mounts"
as_user "xorg.conf is not the user's to replace" sh -c 'test ! -w /etc/X11/xorg.conf && test ! -w /etc/X11'

check "/tmp is root's and sticky" test "$(stat -c %U:%a /tmp)" = root:1777
check "/tmp holds nothing but the daemon's socket" test "$(ls -A /tmp | tr '\n' ' ')" = "vx_vc_socket "
check "the daemon's socket is root's" test "$(stat -c %U:%F /tmp/vx_vc_socket)" = "root:socket"

as_user "dmidecode refuses an ordinary user" sh -c '! /usr/sbin/dmidecode | grep -q Vendor'
check "the daemon dumps the DMI table" test "$(ask '/usr/sbin/dmidecode > /tmp/StoredDmi')" = 0
check "the dump is the profile's, owned by the user" sh -c "cmp /tmp/StoredDmi $profile/dmidecode.txt && test \"\$(stat -c %u /tmp/StoredDmi)\" = $1"
check "the daemon removes the dump" sh -c "[ \"\$(perl $probe/vcd-request.pl 'rm /tmp/StoredDmi')\" = 0 ] && [ ! -e /tmp/StoredDmi ]"
check "plain dmidecode works for the daemon" sh -c "[ \"\$(perl $probe/vcd-request.pl 'dmidecode > /tmp/StoredDmi')\" = 0 ] && grep -q 'Vendor: VELTOR' /tmp/StoredDmi"
ask 'rm /tmp/StoredDmi' >/dev/null
check "the hard-disk password query finds D9" sh -c "[ \"\$(perl $probe/vcd-request.pl \"/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print \\\$6}' > /tmp/dmidecode\")\" = 0 ] && [ \"\$(cat /tmp/dmidecode)\" = D9 ]"
check "the power-on password query finds Enabled" sh -c "perl $probe/vcd-request.pl \"/usr/sbin/dmidecode | grep Power-On | gawk '{print \\\$4}' >/tmp/dmidecode\" && [ \"\$(cat /tmp/dmidecode)\" = Enabled ]"
ask 'rm /tmp/dmidecode' >/dev/null

check "the rate file reads 100" first_is "$rate" 100
as_user "the rate file is root's alone" sh -c "[ \"\$(stat -c %U:%a $rate)\" = root:644 ] && ! (echo -n 0 > $rate)"
check "the daemon writes the rate" sh -c "[ \"\$(perl $probe/vcd-request.pl 'echo -n 0 > $rate')\" = 0 ] && [ \"\$(cat $rate)\" = 0 ]"

check "synclient lists TouchpadOff with its value at column 28" sh -c '[ "$(synclient -l | grep TouchpadOff | cut -c28)" = 0 ]'
check "synclient switches the touchpad off" sh -c 'synclient TouchpadOff=1 && [ "$(synclient -l | grep TouchpadOff | cut -c28)" = 1 ]'
check "synclient says an unknown parameter and goes on" sh -c '[ "$(synclient NoSuchParameter=1)" = "Unknown parameter NoSuchParameter" ] && [ "$(synclient -l | grep TouchpadOff | cut -c28)" = 1 ]'

check "kdesu returns at once" sh -c 'kdesu -c /sbin/yast2 sound'
check "kcmshell in the background is logged" sh -c 'kcmshell --caption Desktop kde-display > /dev/null& wait'
check "the add-on scripts are absent" test ! -e /opt/lapstone/pm/pm.sh -a ! -e /opt/lapstone/ac/ac.sh
check "the preview pictures are installed" test -f /opt/lapstone/vc/bin/image/origin.jpg
check "the program is installed" test -x /opt/lapstone/vc/bin/LapstoneConfiguration

# Left for the launcher's report: a new kpowersaverc line.
echo lockOnLidClose=false >>"$HOME/.kde/share/config/kpowersaverc"
exit "$failures"
