#!/bin/sh
# Sets up a Debian 12 or 13 machine for this project, builds it, and then runs the program in the
# simulated notebook ("run", optionally with a profile name from sim/profiles; builds only what that
# needs), runs every test ("test"), or builds the Debian packages and checks them, installed in a
# throwaway root ("debs"). Needs root for the packages and the sandbox; through sudo is fine.
set -eu

usage() {
    echo "usage: sh packaging/dev.sh run [PROFILE] | test | debs" >&2
    exit 2
}
[ $# -ge 1 ] || usage
action=$1
case "$action" in run | test | debs) ;; *) usage ;; esac

top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"

if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        exec sudo sh "$0" "$@"
    fi
    echo "dev.sh: run this as root (it installs Debian packages)" >&2
    exit 1
fi

# --- Debian packages ---------------------------------------------------------------------------
packages="build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev
    clang libclang-rt-dev
    util-linux gawk sed grep coreutils diffutils bubblewrap
    dbus-daemon dbus-bin libglib2.0-bin gsettings-desktop-schemas libkf5config-bin python3-dbus python3-gi dconf-gsettings-backend
    xdg-utils file xvfb xauth xinput imagemagick fonts-dejavu-core clang-format weston qt6-wayland
    libxcb1-dev libxcb-damage0-dev hardinfo
    scdoc debhelper dpkg-dev lintian desktop-file-utils appstream systemd man-db"
# Packages that only some releases have, installed where the release has them: systemd.pc, which
# the packages' build asks where units go, is in systemd-dev on Debian 13 and in systemd itself on 12.
if_available="systemd-dev"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
available() { apt-cache policy "$1" 2>/dev/null | grep -q '^  Candidate: [^(]'; }
missing=""
for package in $packages; do
    installed "$package" || missing="$missing $package"
done
for package in $if_available; do
    installed "$package" || ! available "$package" || missing="$missing $package"
done
if [ -n "$missing" ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    # Asked again: before the update the package lists may have been empty.
    for package in $if_available; do
        case "$missing " in *" $package "*) ;; *) installed "$package" || ! available "$package" || missing="$missing $package" ;; esac
    done
    echo "dev.sh: installing$missing"
    # shellcheck disable=SC2086
    apt-get install -y -q --no-install-recommends $missing
fi

# --- Build -------------------------------------------------------------------------------------
jobs=$(nproc 2>/dev/null || echo 2)
# Build trees from before the program moved to the usual prefix still remember /opt/lapstone/vc.
prefix=""
if grep -q '^CMAKE_INSTALL_PREFIX:PATH=/opt/lapstone/vc$' "$build/CMakeCache.txt" 2>/dev/null; then
    prefix="-DCMAKE_INSTALL_PREFIX=/usr/local"
fi
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $prefix
case "$action" in
test)
    cmake --build "$build" --parallel "$jobs"
    exec ctest --test-dir "$build" --output-on-failure --parallel "$jobs"
    ;;
debs)
    # The packages build from a copy of the tree; the build tree gives the tour's driver.
    cmake --build "$build" --parallel "$jobs" --target lapstone-scenario
    bash "$top/packaging/build-debs.sh" "$build/debs"
    exec bash "$top/packaging/tests/debs.sh" "$build/debs" "$build" "$build/debs-check"
    ;;
esac
# Running needs the program, the daemon and the scenario driver, not the test suites.
cmake --build "$build" --parallel "$jobs" --target LapstoneConfiguration lapstone-vcd lapstone-scenario

# --- Run ---------------------------------------------------------------------------------------
exec sh "$top/packaging/run-program.sh" "$build" ${2:+"$2"}
