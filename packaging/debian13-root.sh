#!/bin/bash
# Usage: debian13-root.sh [--keep-build] [COMMAND [ARG...]]
# Runs COMMAND (default: a shell) as root in a fresh Debian 13 system, in a copy of this tree: the
# Debian 13 root file system is made with debootstrap (minbase, from deb.debian.org) and kept at
# ${LAPSTONE_CACHE:-BUILD}/debian13/root, where BUILD is this tree's build folder; the copy stands at
# /src/lapstone-configuration in it, COMMAND runs there. A kept root is brought up to date with apt
# before each use, and made anew when it is a week old, unfinished, or made by another version of
# this script or of packaging/dev.sh (so nothing an earlier package list installed lingers).
# The copy is made afresh each time, its build folder too unless --keep-build is given.
# COMMAND runs in a mount and PID namespace of its own: /proc, /sys, /dev (with /dev/pts), a
# private /run and /tmp are mounted for it, and everything it leaves running ends with it.
# Example: debian13-root.sh sh packaging/dev.sh test
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
keep_build=no
if [ "${1:-}" = --keep-build ]; then
    keep_build=yes
    shift
fi
[ "$(id -u)" -eq 0 ] || { echo "debian13-root: run this as root (debootstrap, chroot, mounts)" >&2; exit 1; }

suite=trixie
mirror=http://deb.debian.org/debian
cache=${LAPSTONE_CACHE:-$top/build}/debian13
root=$cache/root
stamp=$cache/root.stamp
src=/src/lapstone-configuration
key="$suite minbase $mirror $(cat "$0" "$top/packaging/dev.sh" | sha256sum | cut -d' ' -f1)"
say() { echo "debian13-root: $*" >&2; }

# in_root COMMAND...: COMMAND in the root, in namespaces of their own. The outer shell stays PID 1
# there, so it reaps whatever is orphaned, and its end ends everything else in the namespace.
in_root() {
    unshare --mount --propagation private --pid --fork bash -euc '
        root=$1
        shift
        mount --bind "$root" "$root"    # a mount point, so bubblewrap can pivot_root inside
        mount -t proc proc "$root/proc"
        mount --rbind /sys "$root/sys"
        mount --rbind /dev "$root/dev"
        mount -t tmpfs -o mode=0755 run "$root/run"
        mount -t tmpfs -o mode=1777 tmp "$root/tmp"
        status=0
        chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" ${CI:+CI="$CI"} "$@" || status=$?
        exit "$status"
    ' in-root "$root" "$@"
}

# --- The root ----------------------------------------------------------------------------------
start=$(date +%s)
mkdir -p "$cache"
# One user of the root at a time; a second waits.
exec 9>"$cache/lock"
flock 9
fresh=no
if [ ! -f "$stamp" ] || [ "$(head -n 1 "$stamp")" != "$key" ] ||
    [ -n "$(find "$stamp" -mmin +$((7 * 24 * 60)))" ]; then
    fresh=yes
fi
if [ "$fresh" = yes ]; then
    command -v debootstrap >/dev/null 2>&1 || {
        say "installing debootstrap"
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap >&2 ||
            { apt-get update -q >&2 && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap >&2; }
    }
    [ -f /usr/share/keyrings/debian-archive-trixie-stable.gpg ] ||
        { say "the Debian archive keyring lacks Debian 13's keys (Debian package debian-archive-keyring)"; exit 1; }
    say "making the Debian 13 root in $root"
    rm -f "$stamp"
    rm -rf "$root"
    debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
        { tail -n 20 "$cache/debootstrap.log" >&2; say "debootstrap failed; its log: $cache/debootstrap.log"; exit 1; }
    say "debootstrap took $(($(date +%s) - start)) s"
    # As a Debian 13 machine has it: the release with its updates and security fixes.
    rm -f "$root/etc/apt/sources.list"
    cat >"$root/etc/apt/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: $mirror
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: ${mirror}-security
Suites: $suite-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    # No service installed there may start: nothing of the root may outlive a command.
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
fi
rm -f "$root/etc/resolv.conf"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
in_root sh -c 'export DEBIAN_FRONTEND=noninteractive
    apt-get update -q && apt-get full-upgrade -y -q && apt-get autoremove --purge -y -q && apt-get clean' \
    >"$cache/apt.log" 2>&1 || { tail -n 20 "$cache/apt.log" >&2; say "apt failed; its log: $cache/apt.log"; exit 1; }
if [ "$fresh" = yes ]; then
    echo "$key" >"$stamp"
    say "root made in $(($(date +%s) - start)) s"
else
    say "root at $root brought up to date in $(($(date +%s) - start)) s"
fi

# --- The copy of the tree ----------------------------------------------------------------------
if [ "$keep_build" = yes ] && [ -d "$root$src/build" ]; then
    find "$root$src" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
else
    rm -rf "$root$src"
fi
bash "$top/packaging/copy-tree.sh" "$root$src"

[ $# -gt 0 ] || set -- bash -i
in_root sh -c 'cd "$0" && exec "$@"' "$src" "$@"
