#!/usr/bin/env bash
# The command line, without an X display. Every check comes in one
# order: usage errors first (status 2), then every file (the recording, the
# record file, the shots folder: status 1), then the display (status 1), so
# a bad file is named without a display. A record file is left as it was
# until the game's window is open. GLUT's own -display names a display
# instead of DISPLAY. Nothing here may hang: every wait gives up within what
# is left of 50 s, short of ctest's 60, and a run still going then fails.
#   command_line.sh path/to/quorvane VERSION
set -uo pipefail

game=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
failed=0
fail() { echo "FAIL: $*"; failed=1; }
deadline=$((SECONDS + 50))

# within SECONDS WHAT: sets `limit` to the seconds a wait may take, at most
# what is left of the script's time; ends the script when nothing is left
within() {
    limit=$((deadline - SECONDS))
    ((limit > 0)) || { echo "FAIL: out of time (50 s) before ${*:2}"; exit 1; }
    ((limit < $1)) || limit=$1
}

# runs the game without DISPLAY; sets status, out and err
run() {
    within 10 "$@"
    env -u DISPLAY timeout "$limit" "$game" "$@" >"$scratch/out" 2>"$scratch/err"
    status=$?
    out=$(<"$scratch/out") err=$(<"$scratch/err")
    [[ $status -ne 124 ]] || fail "$*: still running after $limit s"
}
expect() {  # STATUS STDERR: the status, and standard error exactly
    [[ $status -eq $1 && $err == "$2" ]] || fail "$*: status $status, standard error '$err'"
}

run --help
[[ $status -eq 0 && $out == "Usage: quorvane "* && $out == *$'\n  -display NAME\n'* && -z $err ]] || fail "--help: $status '$err'"
run --version
[[ $status -eq 0 && $out == "quorvane $version" ]] || fail "--version: $status '$out'"

for args in "--bogus" "foo" "--record" "--record a --replay b" "--shots 3" "--replay=a --replay=b" "--help=1" \
            "--replay --shots 0" "--record -x" "-display" "--record /dev/null --bogus" "--sound-out x.wav"; do
    run $args
    [[ $status -eq 2 && -z $out && $(wc -l <err) -eq 1 && $err == *"(see quorvane --help)" ]] ||
        fail "$args: status $status, standard error '$err'"
done
run --replay --shots -5
expect 2 "quorvane: option --shots takes frame numbers from 1, ranges A-B and 'last', by commas, not '-5' (see quorvane --help)"

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
run --timedemo  # the shipped demo: read, then the display is missing
[[ $status -eq 1 && $err == "quorvane: no X display"* ]] || fail "--timedemo alone: $status '$err'"

# the record file: a regular file that can be made, checked before the display
run --record missing/rec.qvr
expect 1 "quorvane: cannot create missing/rec.qvr: No such file or directory"
mkfifo fifo
for target in fifo /dev/null; do
    run --record "$target"
    expect 1 "quorvane: cannot create $target: is not a regular file"
done
# ... and left as it was by a game that never opened its window
printf '%s\nkeep me\n' "$header" >kept.qvr
cp kept.qvr kept.orig
for args in "" "-display :31999"; do
    run $args --record kept.qvr
    [[ $status -eq 1 ]] && cmp -s kept.qvr kept.orig || fail "$args --record kept.qvr: status $status, file now '$(<kept.qvr)'"
    run $args --record new.qvr
    [[ $status -eq 1 && ! -e new.qvr ]] || fail "$args --record new.qvr: status $status, the file left behind"
done

# the shots folder: the one the game was started from
mkdir gone && cd gone && rmdir ../gone
run --record "$scratch/shots.qvr" --shots 1
expect 1 "quorvane: cannot save frames: the folder the game was started from is gone"
[[ ! -e $scratch/shots.qvr ]] || fail "a record file left behind by a game that never started"
cd "$scratch" || exit 1

run
[[ $status -eq 1 && -z $out && $err == "quorvane: no X display"*"xvfb-run -a -s '-screen 0 1280x1024x24' $game" ]] ||
    fail "no display: $status '$err'"
# a display that does not exist: GLUT itself fails to open it
run -display :31999
[[ $status -ne 0 && $err != *"no X display"* && $err == *":31999"* ]] || fail "-display :31999: '$err'"

exit $failed
