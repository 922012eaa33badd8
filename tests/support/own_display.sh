#!/usr/bin/env bash
# Runs a command on an X server of its own, so tests that drive windows,
# move the pointer or take screenshots can run side by side.
#   own_display.sh COMMAND [ARG...]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/skip.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed (scripts/install-deps.sh test)"
command -v xdotool >/dev/null || skip "xdotool is not installed (scripts/install-deps.sh test)"
scratch=$(mktemp -d)
server=
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$scratch"' EXIT
# One display number each, chosen one at a time. The server does not reset
# when its last client leaves, so the next game never finds it mid-reset.
exec 9>"${TMPDIR:-/tmp}/quorvane-own-display.lock"
flock 9
display=200
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset 2>"$scratch/xvfb.log" &
server=$!
for _ in $(seq 600); do
    DISPLAY=:$display xdotool getdisplaygeometry >/dev/null 2>&1 && break
    kill -0 "$server" 2>/dev/null || { echo "FAIL: Xvfb did not start:"; cat "$scratch/xvfb.log"; exit 1; }
    sleep 0.1
done
flock -u 9
DISPLAY=:$display xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "FAIL: Xvfb :$display did not answer within a minute"; exit 1; }
DISPLAY=:$display "$@"
