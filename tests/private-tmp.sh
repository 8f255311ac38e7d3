#!/bin/sh
# Usage: private-tmp.sh KEEP_DIR... -- COMMAND [ARG...]
#
# Runs COMMAND in a mount namespace of its own with an empty /tmp, so that tests which use the
# program's fixed capture files (/tmp/command, /tmp/StoredDmi, ...) never meet, not even under
# "ctest -j". Each KEEP_DIR (the source and build trees) stays reachable at its path even when it
# lies under /tmp itself. Where no namespace can be made, the test is reported as skipped (exit 77),
# never as passed.
keep=""
while [ $# -gt 0 ] && [ "$1" != -- ]; do
    case "$1" in
    /tmp/?*) keep="$keep $(printf '%s' "${1#/tmp/}" | cut -d/ -f1)" ;;
    esac
    shift
done
[ "${1:-}" = -- ] && shift

# Inside the namespace: fd 3 still shows the machine's /tmp after the new one hides it, so the kept
# trees are bound back in from there.
inner='
exec 3</tmp
mount -t tmpfs -o mode=1777 lapstone-test-tmp /tmp || exit 1
for top in $LAPSTONE_KEEP; do
    mkdir -p "/tmp/$top" && mount --no-canonicalize --bind "/proc/self/fd/3/$top" "/tmp/$top" || exit 1
done
exec 3<&-
cd /
[ -z "$LAPSTONE_UID" ] && exec "$@"
exec unshare --user --map-user="$LAPSTONE_UID" --map-group="$LAPSTONE_GID" -- "$@"'
export LAPSTONE_KEEP="$keep" LAPSTONE_UID="" LAPSTONE_GID=""
if [ "$(id -u)" -eq 0 ]; then
    exec unshare --mount --propagation private -- sh -c "$inner" sh "$@"
fi
# An ordinary user mounts as root of a user namespace of its own, then runs the test as itself.
if unshare --user --map-root-user --mount true 2>/dev/null; then
    LAPSTONE_UID=$(id -u) LAPSTONE_GID=$(id -g)
    exec unshare --user --map-root-user --mount --propagation private -- sh -c "$inner" sh "$@"
fi
echo "private-tmp: cannot make a private /tmp here (no root, no user namespaces)" >&2
exit 77
