#!/usr/bin/env bash
# End to end: closing the window ends the game.
#  - the desktop's close button (WM_DELETE_WINDOW): freeglut exits the
#    process with status 0;
#  - the window destroyed under the game (xdotool windowclose, as a crashed
#    or killed window manager may do): the game must end by itself within
#    seconds, through an exit and not a signal (Xlib reports the lost window
#    and exits with status 1).
# Usage: close_window.sh path/to/quorvane path/to/close_window
set -uo pipefail
game=$(realpath "$1")
closer=$(realpath "$2")
source "$(dirname "$0")/lib.sh"

start_game "$work"
sleep 0.5
"$closer" "$window" || fail "could not send WM_DELETE_WINDOW"
wait_exit 10 || fail "the close button did not end the game"
[ "$status" -eq 0 ] || fail "the close button ended the game with status $status"
echo "close button: status 0"

start_game "$work"
sleep 0.5
xdotool windowclose "$window"
wait_exit 10 || fail "the game kept running after its window was destroyed"
[ "$status" -lt 128 ] || fail "the game died of signal $((status - 128)) when its window was destroyed"
echo "window destroyed: status $status"
echo "PASS"
