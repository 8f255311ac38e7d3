#!/bin/bash
# Usage (inside the throwaway root that debs.sh makes): in-throwaway-root.sh TOP BUILD OUT PACKAGE...
# Installs the packages from /tmp/debs with apt, checks what they installed, runs the simulated
# notebook against it, and purges them again.
set -euo pipefail
top=$1 build=$2 out=$3
shift 3
packages=("$@")
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8

step() { echo; echo "== debs (throwaway root): $*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
# quiet NAME COMMAND...: COMMAND must succeed and print nothing.
quiet() {
    local name=$1 output status=0
    shift
    output=$("$@" 2>&1) || status=$?
    [ "$status" -eq 0 ] && [ -z "$output" ] || { echo "$output" >&2; fail "$name (status $status)"; }
    echo "$name: clean"
}

step "apt install"
debs=()
for package in "${packages[@]}"; do debs+=(/tmp/debs/"$package"_*.deb); done
apt-get install -y -q --no-install-recommends "${debs[@]}"
for package in "${packages[@]}"; do
    [ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$package")" = "ii " ] || fail "$package is not installed"
done

step "what the packages installed"
unit=$(dpkg -L lapstone-vcd | grep "/systemd/system/lapstone-vcd.service$") || fail "lapstone-vcd installed no unit"
desktop=/usr/share/applications/org.lapstone.Configuration.desktop
metainfo=/usr/share/metainfo/org.lapstone.Configuration.metainfo.xml
# The manual page of Documentation= is looked up below with man -w: systemd-analyze's own look-up
# would format it into man's cache, which then reads as a leftover of the packages.
quiet "systemd-analyze verify $unit" systemd-analyze verify --man=no "$unit"
documentation=$(sed -n 's/^Documentation=man://p' "$unit")
[ -n "$documentation" ] || fail "the unit has no Documentation= manual page"
section=${documentation##*(}
man -w "${section%)}" "${documentation%%(*}" >/dev/null 2>&1 ||
    fail "the unit's Documentation= names $documentation, which man does not find"
quiet "desktop-file-validate $desktop" desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
[ -L /etc/systemd/system/multi-user.target.wants/lapstone-vcd.service ] || fail "the unit is not enabled"
[ -f /opt/lapstone/vc/bin/image/sysinfo.jpg ] && [ -f /opt/lapstone/vc/help/html/QRVSI.HTM ] ||
    fail "the pictures and help pages are not at /opt/lapstone/vc"
for key in Exec TryExec; do
    path=$(sed -n "s/^$key=//p" "$desktop")
    [ -x "$path" ] || fail "the desktop entry's $key= names $path, which is not an installed program"
done
grep -q '^Keywords=' "$desktop" || fail "the desktop entry has no Keywords="
for page in LapstoneConfiguration.1 lapstone-vcd.8; do
    found=$(man -w "${page%.*}" 2>/dev/null | head -n 1)
    [ "$found" = "/usr/share/man/man${page##*.}/$page.gz" ] || fail "man does not find $page (found: $found)"
done
echo "unit enabled, desktop entry starts $(sed -n 's/^Exec=//p' "$desktop"), manual pages found"
version=$(dpkg-query -W -f='${Version}' lapstone-configuration)
bash "$top/packaging/tests/command-lines.sh" "${version%%-*}" \
    "$(sed -n 's/^Exec=//p' "$desktop")" "$(sed -n 's/^ExecStart=//p' "$unit" | cut -d' ' -f1)"

step "the tour in the simulated notebook, against the installed files and daemon"
export QT_QPA_PLATFORM=offscreen
status=0
bash "$top/sim/run-in-sim.sh" --installed / --build "$build" --out "$out/tour" \
    -- /opt/lapstone/vc/bin/lapstone-scenario tour >"$out/tour.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 30 "$out/tour.log" >&2
    grep -n "FAIL" "$out/tour/transcript.txt" >&2 || true
    fail "the tour failed (status $status); transcript $out/tour/transcript.txt, log $out/tour.log"
fi
grep -q "^listening on " "$out/tour/daemon.log" || fail "the installed daemon did not start; see $out/tour/daemon.log"
echo "tour passed; transcript $out/tour/transcript.txt"

step "the installed program itself, with the installed daemon"
# Still running after some seconds is the good outcome: the main window stands, waiting for the user.
status=0
bash "$top/sim/run-in-sim.sh" --installed / --build "$build" --out "$out/program" \
    -- timeout 8 "$(sed -n 's/^Exec=//p' "$desktop")" >"$out/program.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$out/program.log" >&2; fail "the installed program ended with status $status"; }
grep -q 'uid=1000 .*command="[^"]*dmidecode > /tmp/StoredDmi" outcome=done' "$out/program/daemon.log" ||
    { cat "$out/program/daemon.log" >&2; fail "the installed program had no DMI dump made by the daemon"; }
echo "the installed program started and had the DMI table dumped by the installed daemon"

step "apt purge"
apt-get purge -y -q "${packages[@]}"
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
    [ -z "$status" ] || [ "$status" = "un " ] || fail "$package is still known to dpkg as \"$status\""
done
[ ! -e /opt/lapstone ] || fail "/opt/lapstone is still there: $(find /opt/lapstone)"
[ -d /opt ] && [ "$(stat -c %a:%U /opt)" = 755:root ] || fail "the purge did not leave /opt as it was"
echo "purged"
