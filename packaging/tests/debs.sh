#!/bin/bash
# Usage: debs.sh DEB_DIR BUILD_DIR OUT_DIR
# Checks the built Debian packages as a user gets them:
#  1. lintian: no error and no warning;
#  2. contents: exactly the files listed in packaging/debs/*.contents, with their modes;
#  3. installed with apt into a throwaway root (an overlay over / in a mount namespace of its own;
#     this machine's files stay untouched): the installed unit, desktop entry and metainfo validate,
#     the installed program answers its command line, the simulated notebook starts the daemon from
#     the unit's ExecStart= line and tours the installed program's files, and the installed program
#     itself starts against that daemon;
#  4. purge: nothing of the packages is left in that root, and /opt, empty as on a fresh system,
#     is still there.
# BUILD_DIR provides lapstone-scenario (the tour's driver); the run's logs go to OUT_DIR.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: debs.sh DEB_DIR BUILD_DIR OUT_DIR" >&2; exit 2; }
top=$(cd "$(dirname "$0")/../.." && pwd)
debs=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
mkdir -p "$3"
out=$(cd "$3" && pwd)
packages="lapstone-configuration lapstone-vcd"

step() { echo; echo "== debs: $*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# --- 1. lintian ----------------------------------------------------------------------------------
step "lintian"
changes=$(ls "$debs"/*.changes)
status=0
lintian --fail-on error,warning "$changes" >"$out/lintian.txt" 2>&1 || status=$?
grep -v '^running with root privileges' "$out/lintian.txt" || true
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings (above)"
echo "lintian: no errors, no warnings"

# --- 2. contents ---------------------------------------------------------------------------------
step "contents"
# The lists name the unit where Debian 12's systemd keeps units; where this release's keeps them
# under /usr/lib (Debian 13), the unit is expected there.
unit_dir=$(pkg-config --variable=systemdsystemunitdir systemd)
case "$unit_dir" in
/lib/systemd/system) moved='' ;;
/usr/lib/systemd/system) moved='s| /lib/| /usr/lib/|' ;;
*) fail "this release's systemd keeps units in \"$unit_dir\", which the contents lists do not know" ;;
esac
for package in $packages; do
    deb=$(ls "$debs/${package}"_*.deb)
    dpkg-deb -c "$deb" | awk '{print $1, $2, $6}' | sed 's|^\([^ ]* [^ ]*\) \./|\1 /|' |
        LC_ALL=C sort -k3,3 >"$out/$package.contents"
    sed "$moved" "$top/packaging/debs/$package.contents" | LC_ALL=C sort -u -k3,3 >"$out/$package.expected"
    if ! diff -u --label "expected ($package)" --label "built ($package)" \
        "$out/$package.expected" "$out/$package.contents"; then
        fail "$package: the package's files differ from packaging/debs/$package.contents"
    fi
    ls "$debs/${package}-dbgsym"_*.deb >/dev/null 2>&1 || fail "no debug-symbol package for $package"
    echo "$package: $(grep -vc '/$' "$out/$package.contents") files, as listed"
done

# --- 3. and 4. in a throwaway root ----------------------------------------------------------------
step "install, run and purge in a throwaway root"
# Everything below runs in a mount namespace of its own: the overlay, the chroot and whatever the
# packages' scripts do there vanish with it.
export top debs build out packages
unshare --mount --propagation private bash -euo pipefail -c '
scratch=$(mktemp -d)
mount -t tmpfs -o size=2g,mode=0755 throwaway "$scratch"
mkdir "$scratch/upper" "$scratch/work" "$scratch/root"
mount -t overlay overlay -o "lowerdir=/,upperdir=$scratch/upper,workdir=$scratch/work" "$scratch/root"
root=$scratch/root
# /opt as a fresh Debian root has it: there and empty (base-files makes it, no package lists it).
# Emptied in the overlay only; this machine keeps its own.
[ "$(stat -f -c %T "$root")" = overlayfs ] || { echo "FAIL: $root is not the overlay" >&2; exit 1; }
find "$root/opt" -mindepth 1 -maxdepth 1 -exec rm -rf {} +
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mount --rbind /sys "$root/sys"
mount -t tmpfs -o mode=1777 tmp "$root/tmp"
mount -t tmpfs -o mode=0755 run "$root/run"
# The repository, the build tree and the output folder, wherever they live.
for dir in "$top" "$build" "$out"; do
    mkdir -p "$root$dir"
    mount --rbind "$dir" "$root$dir"
done
mkdir "$root/tmp/debs"
for package in $packages; do cp "$debs/${package}"_*.deb "$root/tmp/debs/"; done
# No service of the throwaway root may start on this machine: it has no systemd running anyway
# (no /run/systemd/system), and policy-rc.d says no to the rest.
printf "#!/bin/sh\nexit 101\n" >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
# Afterwards, everything the root changed is in the overlay'"'"'s upper folder.
cp "$top/packaging/tests/in-throwaway-root.sh" "$root/tmp/"
chroot "$root" /bin/bash /tmp/in-throwaway-root.sh "$top" "$build" "$out" $packages
rm "$root/usr/sbin/policy-rc.d"
echo
echo "== debs: what is left of the packages after the purge"
# The upper folder holds every file the installation, the runs and the purge created or changed.
# The folders made above to bind into are not the packages'"'"' files.
leftovers=$(cd "$scratch/upper" && find . -iname "*lapstone*" |
    grep -v -F -e ".$top" -e ".$build" -e ".$out" || true)
if [ -n "$leftovers" ]; then
    echo "$leftovers" >&2
    echo "FAIL: the purge left files of the packages behind (above)" >&2
    exit 1
fi
echo "nothing"
'
echo
echo "debs: all checks passed"
