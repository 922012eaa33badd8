#!/usr/bin/env bash
# End to end: the desktop's close button (WM_DELETE_WINDOW) ends the game
# with status 0; a window destroyed under it (as a crashed window manager
# may do) ends it within seconds through an exit, not a signal.
# Usage: close_window.sh path/to/quorvane path/to/close_window
set -uo pipefail
game=$(realpath "$1")
closer=$(realpath "$2")
source "$(dirname "$0")/lib.sh"

start_game "$work"
wait_for 30 looping || fail "the game never ran its main loop"
"$closer" "$window" || fail "could not send WM_DELETE_WINDOW"
wait_exit 30 || fail "the close button did not end the game"
[ "$status" -eq 0 ] || fail "the close button ended the game with status $status"

start_game "$work"
wait_for 30 looping || fail "the game never ran its main loop"
xdotool windowclose "$window"
wait_exit 30 || fail "the game kept running after its window was destroyed"
[ "$status" -lt 128 ] || fail "the game died of signal $((status - 128)) when its window was destroyed"
echo "PASS"
