#!/usr/bin/env bash
# End to end: a short game played with xdotool and recorded, its window
# resized mid-play and closed by the close button. Its replay writes the same
# standard output and the same last frame, the timedemo prints its line, a
# recording with one pointer move changed is caught, and a recording onto a
# full disk says so once while the game plays on.
# Usage: replay.sh path/to/quorvane path/to/close_window
set -uo pipefail
game=$(realpath "$1")
closer=$(realpath "$2")
source "$(dirname "$0")/lib.sh"
cd "$work" || exit 1

start_game "$work" --record rec.qvr --shots last
key space
for x in 520 560 600 640; do xdotool mousemove --sync "$x" 330; done
key space space w w
wait_for 30 shots_fired 2 || fail "the recorded game fired $(count_lines '^eye: ') shots, not 2"
xdotool windowsize "$window" 640 480  # the file is flushed once a second
wait_for 30 grep -qx 'r 640 480' rec.qvr || fail "the resize to 640 x 480 was not recorded"
key space
wait_for 30 shots_fired 3 || fail "the resized game fired $(count_lines '^eye: ') shots, not 3"
"$closer" "$window" || fail "could not send WM_DELETE_WINDOW"
wait_exit 30 && [ "$status" -eq 0 ] || fail "the close button did not end the recorded game with status 0"
[ "$(tail -n 1 rec.qvr)" = end ] || fail "the recording ended by the close button was not finished: $(tail -n 2 rec.qvr)"
replays rec

"$game" --timedemo rec.qvr >/dev/null 2>timed.err || fail "--timedemo: status $?"
grep -Eqx '[0-9]+ frames in [0-9]+\.[0-9]{3} seconds: [0-9]+\.[0-9] fps' timed.err || fail "timedemo said: $(cat timed.err)"

# the first pointer move after the game started, moved by 7 pixels
awk '/^k 32 / { started = 1 } started && !done && /^m / { $2 += 7; done = 1 } { print }' rec.qvr >changed.qvr
"$game" --timedemo changed.qvr >/dev/null 2>changed.err
status=$?
# caught by the first checksum after it, within a second of clock
# (the move counts from the tick after it: a slow build may take every input
# before its first tick)
read -r tick clock late < <(awk '/^t / { ticks += NF == 3 ? $3 : 1; clock = $2; if (moved && at == "") at = clock }
    /^k 32 / { started = 1 } started && !moved && /^m / { moved = 1 }
    at != "" && /^c / { print ticks, clock, clock - at; exit }' rec.qvr)
[ "$status" -eq 3 ] && grep -Fqx "replay diverged at tick $tick (clock $clock ms)" changed.err && [ "$late" -le 1000 ] ||
    fail "a changed move gave status $status: $(cat changed.err), not at tick $tick (clock $clock ms)"

# a disk that fills up: a file-size limit of 4 kB, which an idle loop's
# ticks pass within seconds (the game's own writes fail, not kill it)
printf '#!/bin/sh\ntrap "" XFSZ\nulimit -f 8\nexec "%s" "$@"\n' "$game" >full.sh && chmod +x full.sh
recorder=$game game=$work/full.sh
start_game "$work" --record full.qvr
game=$recorder
wait_for 60 grep -q 'could not write full.qvr' "$err" || fail "the file-size limit was never reached: $(cat "$err")"
key q
wait_exit 30 && [ "$status" -eq 0 ] || fail "recording onto a full disk ended with status $status"
[ "$(grep -c 'could not write full.qvr: File too large' "$err")" -eq 1 ] || fail "a full disk gave: $(cat "$err")"
echo "PASS"
