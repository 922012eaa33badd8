#!/usr/bin/env bash
# End to end: a window destroyed under the game (as a crashed window manager
# may do) ends it within seconds through an exit, not a signal. The close
# button's clean end is replay.sh's.
# Usage: close_window.sh path/to/quorvane
set -uo pipefail
game=$(realpath "$1")
source "$(dirname "$0")/lib.sh"

start_game "$work"
wait_for 30 looping || fail "the game never ran its main loop"
xdotool windowclose "$window"
wait_exit 30 || fail "the game kept running after its window was destroyed"
[ "$status" -lt 128 ] || fail "the game died of signal $((status - 128)) when its window was destroyed"
echo "PASS"
