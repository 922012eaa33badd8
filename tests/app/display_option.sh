#!/usr/bin/env bash
# Without DISPLAY the game prints its one-line hint and exits 1, unless the
# command line names a display with GLUT's own -display option.
#   display_option.sh path/to/quorvane
set -uo pipefail

game=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# runs the game without DISPLAY; sets status, out and err
run() {
    env -u DISPLAY timeout 4 "$game" "$@" >"$scratch/out" 2>"$scratch/err"
    status=$?
    out=$(<"$scratch/out") err=$(<"$scratch/err")
}

run
[[ $status -eq 1 ]] || fail "no display: status $status, expected 1"
[[ $(wc -l <"$scratch/err") -eq 1 && $err == "quorvane: no X display"* ]] || fail "no display: hint was '$err'"
[[ -z $out ]] || fail "no display: standard output '$out'"

# a display that does not exist: GLUT itself fails to open it
run -display :31999
[[ $status -ne 0 && $status -ne 124 ]] || fail "-display :31999: status $status"
[[ $err != *"no X display"* && $err == *":31999"* ]] || fail "-display :31999: '$err'"

# a trailing -display names nothing: a usage error
run -display
[[ $status -eq 2 && $err == "quorvane: option -display needs a value"* ]] || fail "trailing -display: status $status, '$err'"

# a display that exists: the game runs (ctest runs this under xvfb-run)
if [[ -n ${DISPLAY:-} ]]; then
    run -display "$DISPLAY"
    [[ $status -eq 124 ]] || fail "-display $DISPLAY: ended with status $status: $err"
fi

exit $failed
