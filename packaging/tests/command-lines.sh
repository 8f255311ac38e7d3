#!/bin/bash
# Usage: command-lines.sh VERSION PROGRAM DAEMON
# The command lines of both executables, run without a display or any toolkit setting: --help and
# --version answer on standard output and end with 0, a wrong option or argument says so on
# standard error and ends with 2. Neither may open a window or a socket on the way.
set -u
version=$1
program=$2
daemon=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# run NAME EXPECTED_STATUS COMMAND...: runs COMMAND with an empty environment, keeps its output.
run() {
    local name=$1 expected=$2 status=0
    shift 2
    (cd "$work" && timeout 20 env -i PATH=/usr/bin:/bin "$@" >"$work/out" 2>"$work/err") || status=$?
    if [ "$status" != "$expected" ]; then
        fail "$name: exit status $status, expected $expected"
    fi
}
fail() {
    echo "FAIL: $*" >&2
    sed 's/^/  stdout: /' "$work/out" >&2
    sed 's/^/  stderr: /' "$work/err" >&2
    failures=$((failures + 1))
}
expect_in() { # NAME FILE TEXT: FILE contains TEXT
    grep -qF -- "$3" "$work/$2" || fail "$1: $2 lacks \"$3\""
}
expect_empty() { # NAME FILE
    [ ! -s "$work/$2" ] || fail "$1: $2 is not empty"
}
expect_exactly() { # NAME FILE TEXT
    [ "$(cat "$work/$2")" = "$3" ] || fail "$1: $2 is not exactly \"$3\""
}

for help in --help -h; do
    run "program $help" 0 "$program" "$help"
    expect_in "program $help" out "--version"
    expect_in "program $help" out "Usage:"
    expect_empty "program $help" err
    run "daemon $help" 0 "$daemon" "$help"
    expect_in "daemon $help" out "--socket"
    expect_in "daemon $help" out "--version"
    expect_empty "daemon $help" err
done

run "program --version" 0 "$program" --version
expect_exactly "program --version" out "LapstoneConfiguration $version"
expect_empty "program --version" err
run "daemon --version" 0 "$daemon" --version
expect_exactly "daemon --version" out "lapstone-vcd $version"
expect_empty "daemon --version" err

# The toolkit's own options count as known, but still cannot bring a window up without a display;
# only the program's own answers are looked at here, so --version comes after one.
run "program -style with --version" 0 "$program" -style Fusion --version
expect_exactly "program -style with --version" out "LapstoneConfiguration $version"

for wrong in --no-such-option -x "a-file"; do
    run "program $wrong" 2 "$program" "$wrong"
    expect_in "program $wrong" err "$(echo "$wrong" | sed "s/^-*//")"
    expect_in "program $wrong" err "--help"
    expect_empty "program $wrong" out
done
for wrong in "--no-such-option" "--socket" "--command-timeout 0" "extra"; do
    # shellcheck disable=SC2086
    run "daemon $wrong" 2 "$daemon" $wrong
    expect_in "daemon $wrong" err "Usage: lapstone-vcd"
    expect_empty "daemon $wrong" out
done

# Nothing of either may be left in the working folder (a socket, a capture file).
leftovers=$(find "$work" -mindepth 1 ! -name out ! -name err)
[ -z "$leftovers" ] || { echo "FAIL: files left behind: $leftovers" >&2; failures=$((failures + 1)); }

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "command lines: all checks passed"
