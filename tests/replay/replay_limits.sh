#!/usr/bin/env bash
# What a replay may cost, whatever the file: a recording that asks for the
# largest window X allows plays in a window no larger than the screen and
# saves frames no larger, within a memory limit a single such frame would
# break; q quits a replay that has no frames. (The reader refuses a pipe or an
# oversized file: recording_test.cpp; the game then stops: command_line.sh.)
#   replay_limits.sh path/to/quorvane
set -uo pipefail
game=$(realpath "$1")
source "$(dirname "$0")/../e2e/lib.sh"
cd "$work" || exit 1

# One frame of 32767 x 32767 is 3.2 GB; the screen's are 4 MB.
printf 'quorvane-recording 1 game 0.1 window 1000 800\nt 0\nr 32767 32767\nf\nt 1\nf\n' >huge.qvr
# AddressSanitizer reserves terabytes of address space for its shadow, so a
# sanitized build runs without the limit (the plain build keeps it).
limit=2000000
ldd "$game" | grep -q libasan && limit=unlimited
(ulimit -v "$limit" && exec timeout 60 "$game" --mute --replay huge.qvr --shots last) >"$out" 2>"$err"
status=$?
[[ $status -eq 0 && $(<"$err") == "huge.qvr ends early at line 6" ]] || fail "the largest window: status $status"
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 shot-last.png)
width=$(( (w0 << 24) | (w1 << 16) | (w2 << 8) | w3 )) height=$(( (h0 << 24) | (h1 << 16) | (h2 << 8) | h3 ))
(( width > 0 && height > 0 && width <= screen_width && height <= screen_height )) ||
    fail "the last frame is $width x $height on a $screen_width x $screen_height screen"

# A missile spawns at 20 s (its line shows the replay has begun), then two
# thousand million ticks and no frame: a minute of work that q cuts short.
{ printf 'quorvane-recording 1 game 0.1 window 1000 800\nt 0\nt 20000\n'; yes 't 20000 100000' | head -n 20000
  printf 'c 0000000000000000\nend\n'; } >frameless.qvr
start_game "$work" --timedemo frameless.qvr
wait_for 30 grep -q '^Spawning' "$out" || fail "the replay without frames did not begin"
key q
wait_exit 30 && [ "$status" -eq 0 ] || fail "q did not end a replay without frames"

echo "PASS"
