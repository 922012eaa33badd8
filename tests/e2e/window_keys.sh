#!/usr/bin/env bash
# End to end: start the real game under X from an empty directory, check its
# window and pointer, press r, then q.
# Usage: window_keys.sh path/to/quorvane
set -uo pipefail
game=$(realpath "$1")
source "$(dirname "$0")/lib.sh"

# From an empty directory: the game must find its textures by itself.
start_game "$work"

geometry=$(xdotool getwindowgeometry "$window")
echo "$geometry"
grep -q 'Geometry: 1000x800' <<<"$geometry" || fail "window is not 1000x800"
grep -q 'Position: 0,0' <<<"$geometry" || fail "window is not at the top-left corner"

# start-up puts the hidden pointer in the middle of the window
pointer=$(xdotool getmouselocation)
grep -q '^x:500 y:400 ' <<<"$pointer" || fail "pointer starts at '$pointer', not at 500,400"

key r
wait_for 10 grep -qx 'Restarting game' "$out" || fail "r did not print 'Restarting game'"

key q
wait_exit 10 || fail "q did not end the game"
[ "$status" -eq 0 ] || fail "q ended the game with status $status"
echo "PASS"
