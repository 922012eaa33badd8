#!/usr/bin/env bash
# Runs a command on an X server of its own, so tests that drive windows,
# move the pointer or take screenshots can run side by side.
#   own_display.sh COMMAND [ARG...]
set -u
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed (scripts/install-deps.sh test)"; exit 77; }
scratch=$(mktemp -d)
server=
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$scratch"' EXIT
# Servers that pick their display number at the same moment may clash over
# it, so they start one at a time.
exec 9>"${TMPDIR:-/tmp}/quorvane-own-display.lock"
flock 9
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
server=$!
# The server writes its display number once it accepts clients.
for _ in $(seq 600); do
    [ -s "$scratch/display" ] && DISPLAY=:$(head -n 1 "$scratch/display") xdotool getdisplaygeometry >/dev/null 2>&1 && break
    kill -0 "$server" 2>/dev/null || { echo "FAIL: Xvfb did not start:"; cat "$scratch/xvfb.log"; exit 1; }
    sleep 0.1
done
flock -u 9
[ -s "$scratch/display" ] || { echo "FAIL: Xvfb gave no display number within a minute"; exit 1; }
DISPLAY=:$(head -n 1 "$scratch/display") "$@"
