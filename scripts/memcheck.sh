#!/usr/bin/env bash
# valgrind memcheck on the real game under X: about 20 seconds of play
# (start, mouse look, firing, flying, aim lines), then q. Fails on any
# memcheck error and on any byte definitely lost, once the suppressions in
# scripts/memcheck.supp have taken out what Mesa and the X libraries keep.
#   xvfb-run -a -s '-screen 0 1280x1024x24' scripts/memcheck.sh build/quorvane [LOG]
# Not part of make test: under valgrind llvmpipe needs minutes to start.
set -uo pipefail

game=$(realpath "$1")
log=$(realpath -m "${2:-memcheck.log}")
here=$(dirname "$(realpath "$0")")
[ -n "${DISPLAY:-}" ] || { echo "memcheck.sh: no X display"; exit 1; }
command -v valgrind >/dev/null || { echo "memcheck.sh: valgrind is not installed"; exit 1; }

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

cd "$work"
valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --track-origins=no --num-callers=30 --keep-debuginfo=yes --suppressions="$here/memcheck.supp" --log-file="$log" \
    "$game" >"$work/stdout" 2>&1 &
pid=$!

window=
for _ in $(seq 600); do  # valgrind starts the game slowly
    window=$(xdotool search --name '^Quorvane$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
[ -n "$window" ] || { echo "memcheck.sh: no window"; cat "$work/stdout"; exit 1; }
sleep 5
start=$SECONDS

xdotool key space
sleep 2
for round in 1 2 3 4; do
    for x in 560 620 680 620; do
        xdotool mousemove "$x" $((300 + 20 * round))
        sleep 0.3
    done
    xdotool key space space w l
    sleep 1
done
xdotool key s s s s l r
sleep 1
xdotool key space space
while [ $((SECONDS - start)) -lt 20 ]; do sleep 1; done
xdotool key q
status=0
wait "$pid" || status=$?
pid=

echo "played $((SECONDS - start)) s; game exit status $status; $(grep -c '^eye: ' "$work/stdout") shots fired"
grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable|suppressed:' "$log" | sed 's/^==[0-9]*== *//'
errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9]*\) errors.*/\1/p' "$log" | tail -n 1)
lost=$(sed -n 's/.*definitely lost: \([0-9,]*\) bytes.*/\1/p' "$log" | tail -n 1 | tr -d ,)
[ "$status" -eq 0 ] || { echo "FAIL: the game ended with status $status"; exit 1; }
[ "${errors:-1}" -eq 0 ] || { echo "FAIL: $errors memcheck errors, see $log"; exit 1; }
[ "${lost:-0}" -eq 0 ] || { echo "FAIL: $lost bytes definitely lost, see $log"; exit 1; }
echo "PASS: no memcheck error, 0 bytes definitely lost (log: $log)"
