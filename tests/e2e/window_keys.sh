#!/usr/bin/env bash
# End to end: start the real game under X, check its window, press r, then q.
# Usage: window_keys.sh path/to/quorvane
set -euo pipefail

game=$(realpath "$1")
if [ -z "${DISPLAY:-}" ]; then
    echo "SKIP: no X display; run under xvfb-run -a -s '-screen 0 1280x1024x24'"
    exit 77
fi
command -v xdotool >/dev/null || { echo "FAIL: xdotool is not installed"; exit 1; }

work=$(mktemp -d)
out="$work/stdout"
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- game output:"
    cat "$out" 2>/dev/null || true
    exit 1
}

# waits up to $1 seconds for the command that follows to succeed
wait_for() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# From an empty directory: the game must find its textures by itself.
cd "$work"
"$game" >"$out" 2>&1 &
pid=$!

window_up() {
    kill -0 "$pid" 2>/dev/null || fail "the game ended before its window appeared"
    xdotool search --name '^Quorvane$' >/dev/null 2>&1
}
wait_for 20 window_up || fail "no window titled Quorvane"
window=$(xdotool search --name '^Quorvane$' | head -n 1)

geometry=$(xdotool getwindowgeometry "$window")
echo "$geometry"
grep -q 'Geometry: 1000x800' <<<"$geometry" || fail "window is not 1000x800"
grep -q 'Position: 0,0' <<<"$geometry" || fail "window is not at the top-left corner"

# start-up puts the hidden pointer in the middle of the window
pointer=$(xdotool getmouselocation)
grep -q '^x:500 y:400 ' <<<"$pointer" || fail "pointer starts at '$pointer', not at 500,400"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers r
wait_for 10 grep -qx 'Restarting game' "$out" || fail "r did not print 'Restarting game'"

xdotool key --clearmodifiers q
status=0
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "q did not end the game"
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "q ended the game with status $status"
echo "PASS"
