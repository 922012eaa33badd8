#!/usr/bin/env bash
# End to end: a recorded game whose window is resized, and one ended by the
# window's close button, each replay to the same standard output and the same
# last frame.
# Usage: replay_window.sh path/to/quorvane path/to/close_window
set -uo pipefail
game=$(realpath "$1")
closer=$(realpath "$2")
source "$(dirname "$0")/lib.sh"
cd "$work" || exit 1

shots_fired() { [ "$(count_lines '^eye: ')" -eq "$1" ]; }

# record NAME: a recorded game that leaves the title and fires twice
record() {
    start_game "$work" --record "$1.qvr" --shots last
    key space space space
    wait_for 30 shots_fired 2 || fail "$1: the recorded game fired $(count_lines '^eye: ') shots, not 2"
}

# replays NAME: the replay writes what the recorded game wrote and draws its
# last frame
replays() {
    mv shot-last.png "$1.png" && mv "$out" "$1.out" || fail "$1: no last frame or output"
    "$game" --replay "$1.qvr" --shots last >"$1.replayed" 2>"$1.err" || fail "$1: --replay: status $?: $(cat "$1.err")"
    cmp -s "$1.out" "$1.replayed" || fail "$1: the replay's output differs: $(diff "$1.out" "$1.replayed" | head -5)"
    cmp -s "$1.png" shot-last.png || fail "$1: the replay's last frame differs from the recorded one"
}

record resized
xdotool windowsize "$window" 640 480
resize_recorded() { grep -qx 'r 640 480' resized.qvr; }  # the file is flushed once a second
wait_for 30 resize_recorded || fail "the resize to 640 x 480 was not recorded"
key space
wait_for 30 shots_fired 3 || fail "the resized game fired $(count_lines '^eye: ') shots, not 3"
key q
wait_exit 30 && [ "$status" -eq 0 ] || fail "q did not end the resized game with status 0"
replays resized

record closed
"$closer" "$window" || fail "could not send WM_DELETE_WINDOW"
wait_exit 30 && [ "$status" -eq 0 ] || fail "the close button did not end the recorded game with status 0"
[ "$(tail -n 1 closed.qvr)" = end ] || fail "the recording ended by the close button was not finished: $(tail -n 2 closed.qvr)"
replays closed
echo "PASS"
