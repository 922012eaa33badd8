#!/usr/bin/env bash
# The command line, mostly without an X display: --help, --version, usage
# errors, bad recordings and the record file are all dealt with before the
# display is looked for. GLUT's own -display names a display instead of
# DISPLAY.
#   command_line.sh path/to/quorvane VERSION
set -uo pipefail

game=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# runs the game without DISPLAY; sets status, out and err
run() {
    env -u DISPLAY timeout 4 "$game" "$@" >out 2>err
    status=$?
    out=$(<out) err=$(<err)
}
expect() {  # STATUS STDERR: the status, and standard error exactly
    [[ $status -eq $1 && $err == "$2" ]] || fail "$*: status $status, standard error '$err'"
}

run --help
[[ $status -eq 0 && $out == "Usage: quorvane "* && $out == *$'\n  -display NAME\n'* && -z $err ]] || fail "--help: $status '$err'"
run --version
[[ $status -eq 0 && $out == "quorvane $version" ]] || fail "--version: $status '$out'"

for args in "--bogus" "foo" "--record" "--record a --replay b" "--shots 3" "--replay=a --replay=b" \
            "--replay --shots 0" "--record -x" "-display" "--help=1"; do
    run $args
    [[ $status -eq 2 && -z $out && $(wc -l <err) -eq 1 && $err == *"(see quorvane --help)" ]] ||
        fail "$args: status $status, standard error '$err'"
done

header='quorvane-recording 1 game 0.1 window 1000 800'
printf '%s\nf\nx 1\n' "$header" >bad.qvr
run --replay bad.qvr
expect 1 "quorvane: bad.qvr:3: unknown event 'x 1'"
printf '%s\nf\nt 1' "$header" >cut.qvr
run --timedemo=cut.qvr
[[ $status -eq 1 && $err == "cut.qvr ends early at line 3"$'\n'"quorvane: no X display"* ]] || fail "cut: '$err'"
printf 'quorvane-recording 1 game 9.9 window 1000 800\nc 0000000000000000\nend\n' >old.qvr
run --replay old.qvr
[[ $err == "quorvane: old.qvr was recorded by quorvane 9.9, this is $version; playing it anyway"$'\n'* ]] ||
    fail "old version: '$err'"

# the record file is made before the window, once a display is named
run -display :31999 --record missing/rec.qvr
expect 1 "quorvane: cannot create missing/rec.qvr: No such file or directory"

run
[[ $status -eq 1 && -z $out && $(wc -l <err) -eq 1 && $err == "quorvane: no X display"* ]] || fail "no display: $status '$err'"
# a display that does not exist: GLUT itself fails to open it
run -display :31999
[[ $status -ne 0 && $status -ne 124 && $err != *"no X display"* && $err == *":31999"* ]] || fail "-display :31999: '$err'"
# a display that exists: the game runs (ctest gives this test an X server)
if [[ -n ${DISPLAY:-} ]]; then
    run -display "$DISPLAY"
    [[ $status -eq 124 ]] || fail "-display $DISPLAY: ended with status $status: $err"
fi
exit $failed
