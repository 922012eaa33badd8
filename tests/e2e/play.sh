#!/usr/bin/env bash
# End to end: a short game as a player meets it, started from an empty
# folder (it finds its textures by itself). The window, the title screen,
# space, the mouse turning the view, flight and aim-line keys, r back
# to the title, q (firing is replay.sh's).
# Usage: play.sh path/to/quorvane
set -uo pipefail
game=$(realpath "$1")
source "$(dirname "$0")/lib.sh"

start_game "$work"
geometry=$(xdotool getwindowgeometry "$window")
grep -q 'Geometry: 1000x800' <<<"$geometry" || fail "window is not 1000x800: $geometry"
grep -q 'Position: 0,0' <<<"$geometry" || fail "window is not at the top-left corner: $geometry"
# start-up puts the hidden pointer in the middle of the window (the screen's
# middle is 640,512)
pointer_at() { grep -q "^x:$1 y:$2 " <<<"$(xdotool getmouselocation)"; }
wait_for 30 pointer_at 500 400 || fail "pointer starts at $(xdotool getmouselocation)"

# The title screen: the logo lights up the middle of the window.
wait_for 30 title_drawn || fail "no title picture in the middle of the window ($(lit title 244 94 512 512)% lit)"

# Space starts play: no shot is fired, and the view changes to the play
# camera with the heads-up display. Mouse look is off on the title screen:
# the move near its edge, handled before the space, warps nothing.
xdotool mousemove --sync 995 400
key space
left_title() { shot play0 && more "$(changed title play0)" 30; }
wait_for 30 left_title || fail "space left the title screen showing ($(changed title play0)% changed)"
[ "$(count_lines '^eye: ')" -eq 0 ] || fail "space on the title screen fired a shot"
pointer_at 995 400 || fail "the pointer was re-centred on the title screen: $(xdotool getmouselocation)"

# Mouse look. Two screenshots with no input, the second once the game has
# drawn new frames (the picture moved), give the drift of time alone (the
# planet turns, missiles fly); the pointer's moves, each one seen by the
# server before the next, must change the picture far more than that.
shot still1
moved() { shot still2 && more "$(changed still1 still2)" 0; }
wait_for 30 moved || fail "the game drew nothing new with time passing"
for x in 520 560 600 640 680 720; do
    xdotool mousemove --sync "$x" 330
done
turned() { shot turned && more "$(changed still2 turned)" 20; }
wait_for 30 turned || fail "moving the mouse did not turn the view ($(changed still2 turned)% changed)"
drift=$(changed still1 still2)
turn=$(changed still2 turned)
more "$turn" "$(awk -v d="$drift" 'BEGIN { print 3 * d }')" || fail "the view changes as much without the mouse ($drift%) as with it ($turn%)"

# The planet ahead, as the share of the window brighter than half, grows
# as w flies toward it and shrinks as s flies back.
planet() { shot "$1" && convert "$work/$1.png" -colorspace gray -threshold 50% -format '%[fx:100*mean]' info:; }
presses() { xdotool key --delay 5 $(printf "$1 %.0s" $(seq "$2")); }
start=$(planet start)
presses w 60
closer() { near=$(planet near) && more "$near" "$(awk -v a="$start" 'BEGIN { print a * 1.08 }')"; }
wait_for 30 closer || fail "w did not fly toward the planet (planet $start% of the window, then $near%)"
presses s 120
away() { far=$(planet far) && more "$(awk -v a="$near" 'BEGIN { print a * 0.92 }')" "$far"; }
wait_for 30 away || fail "s did not fly back from the planet (planet $near% of the window, then $far%)"
presses w 60  # stopped; the aim lines go on for the rest of the game
key l l l

# Near an edge the pointer goes back to the middle of the window.
xdotool mousemove --sync 995 400
wait_for 30 pointer_at 500 400 || fail "the pointer at the right edge was not re-centred: $(xdotool getmouselocation)"

shot flying

# r: back to the title screen, closer to the first title than to play.
key r
wait_for 30 grep -qx 'Restarting game' "$out" || fail "r did not print 'Restarting game'"
title_again() { shot title2 && more "$(changed flying title2)" "$(changed title title2)"; }
wait_for 30 title_again ||
    fail "r did not bring back the title screen ($(changed title title2)% from the title, $(changed flying title2)% from play)"
more "$(lit title2 244 94 512 512)" 5 || fail "no title picture after r"

key q
wait_exit 30 || fail "q did not end the game"
[ "$status" -eq 0 ] || fail "q ended the game with status $status"
echo "PASS"
