#!/usr/bin/env bash
# End to end: a missing image ends start-up with the loader's message on
# standard output and exit status 1 (its other refusals: bmp_test.cpp).
# Usage: bad_textures.sh path/to/quorvane path/to/textures
set -uo pipefail
game=$(realpath "$1")
textures=$(realpath "$2")
source "$(dirname "$0")/lib.sh"

cp -r "$textures" "$work/textures" && rm "$work/textures/clouds.bmp"
launch "$work"
wait_exit 60 || fail "the game kept running without textures/clouds.bmp"
[ "$status" -eq 1 ] || fail "status $status instead of 1"
grep -qxF "File Not Found : textures/clouds.bmp" "$out" || fail "no line 'File Not Found : textures/clouds.bmp'"
echo "PASS"
