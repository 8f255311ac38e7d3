#!/bin/sh
# Runs a test in a mount namespace of its own with an empty /tmp, so that tests which use the
# program's fixed capture files (/tmp/command, /tmp/StoredDmi, ...) never meet, not even under
# "ctest -j". Where no namespace can be made, the test is reported as skipped (exit 77), never as
# passed.
inner='mount -t tmpfs -o mode=1777 lapstone-test-tmp /tmp && cd / && exec "$@"'
if [ "$(id -u)" -eq 0 ]; then
    exec unshare --mount --propagation private -- sh -c "$inner" sh "$@"
fi
if unshare --user --map-current-user --mount true 2>/dev/null; then
    exec unshare --user --map-current-user --mount --propagation private -- sh -c "$inner" sh "$@"
fi
echo "private-tmp: cannot make a private /tmp here (no root, no user namespaces)" >&2
exit 77
