#!/usr/bin/env bash
# valgrind memcheck on the real game under X, replaying the first 500
# frames of the shipped demo (the title, a start, mouse look, a burst of
# shots, aim lines) with --timedemo. Fails on any memcheck error and on any
# byte definitely lost, once the suppressions in scripts/memcheck.supp have
# taken out what Mesa and the X libraries keep.
#   xvfb-run -a -s '-screen 0 1280x1024x24' scripts/memcheck.sh build/quorvane [LOG]
# Not part of make test: under valgrind llvmpipe needs minutes to start.
set -uo pipefail

game=$(realpath "$1")
log=$(realpath -m "${2:-memcheck.log}")
here=$(dirname "$(realpath "$0")")
[ -n "${DISPLAY:-}" ] || { echo "memcheck.sh: no X display"; exit 1; }
command -v valgrind >/dev/null || { echo "memcheck.sh: valgrind is not installed"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$work"
# a recording cut after its 500th frame plays up to there
awk '/^f$/ && ++frames > 500 { exit } { print }' "$here/../textures/demo.qvr" >demo-start.qvr
status=0
valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --track-origins=no --num-callers=30 --keep-debuginfo=yes --suppressions="$here/memcheck.supp" --log-file="$log" \
    "$game" --timedemo demo-start.qvr >"$work/stdout" 2>&1 || status=$?

echo "replayed: game exit status $status; $(grep -c '^eye: ' "$work/stdout") shots fired; $(tail -n 1 "$work/stdout")"
grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable|suppressed:' "$log" | sed 's/^==[0-9]*== *//'
errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9]*\) errors.*/\1/p' "$log" | tail -n 1)
lost=$(sed -n 's/.*definitely lost: \([0-9,]*\) bytes.*/\1/p' "$log" | tail -n 1 | tr -d ,)
[ "$status" -eq 0 ] || { echo "FAIL: the game ended with status $status"; exit 1; }
[ "${errors:-1}" -eq 0 ] || { echo "FAIL: $errors memcheck errors, see $log"; exit 1; }
[ "${lost:-0}" -eq 0 ] || { echo "FAIL: $lost bytes definitely lost, see $log"; exit 1; }
echo "PASS: no memcheck error, 0 bytes definitely lost (log: $log)"
