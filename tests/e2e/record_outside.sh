#!/usr/bin/env bash
# End to end: a key pressed with the pointer outside the window. GLUT gives
# the position relative to the window, so it is negative up and left of it;
# the game's own recording must keep it and replay to the same output, the
# replay saying nothing on standard error.
# Usage: record_outside.sh path/to/quorvane
set -uo pipefail
game=$(realpath "$1")
source "$(dirname "$0")/lib.sh"
cd "$work" || exit 1

start_game "$work" --record rec.qvr
# The pointer leaves the window before it moves and never comes back, so no
# motion near an edge can warp it in again.
xdotool mousemove --sync 1200 1000
xdotool windowmove --sync "$window" 200 150 || fail "could not move the window"
at() { xdotool getwindowgeometry "$window" | grep -q 'Position: 200,150'; }
wait_for 30 at || fail "the window did not move: $(xdotool getwindowgeometry "$window")"
xdotool mousemove --sync 20 20
xdotool windowfocus --sync "$window" || fail "could not focus the window"
key space  # starts play: the file shows it within a second of clock
wait_for 30 grep -Eq '^k 32 ' rec.qvr || fail "the space bar was not recorded"
key space  # fires
wait_for 30 grep -q '^eye: ' "$out" || fail "space with the pointer outside did not fire"
key q
wait_exit 30 && [ "$status" -eq 0 ] || fail "q did not end the recorded game with status 0"
mv "$out" recorded.out

grep -qx 'k 32 -180 -130' rec.qvr || fail "no space with a negative position: $(grep '^k ' rec.qvr)"
"$game" --mute --replay rec.qvr >replayed.out 2>replayed.err || fail "--replay: status $?: $(cat replayed.err)"
cmp -s recorded.out replayed.out || fail "the replay's output differs: $(diff recorded.out replayed.out | head -5)"
[ ! -s replayed.err ] || fail "the replay said: $(cat replayed.err)"
echo "PASS"
