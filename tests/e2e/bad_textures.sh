#!/usr/bin/env bash
# End to end: a missing, a corrupt or a cut-off image ends start-up with the
# loader's message on standard output and exit status 1.
# Usage: bad_textures.sh path/to/quorvane path/to/textures
set -uo pipefail
game=$(realpath "$1")
textures=$(realpath "$2")
source "$(dirname "$0")/lib.sh"

# expect_failure EXPECTED_LINE DAMAGE...: runs DAMAGE on a fresh copy of the
# textures in $work, starts the game there and checks its last words.
expect_failure() {
    rm -rf "$work/textures"
    cp -r "$textures" "$work/textures"
    "${@:2}"
    launch "$work"
    wait_exit 60 || fail "the game kept running with a broken image (expected: $1)"
    [ "$status" -eq 1 ] || fail "status $status instead of 1 (expected: $1)"
    grep -qxF "$1" "$out" || fail "no line '$1'"
}

expect_failure "File Not Found : textures/clouds.bmp" rm "$work/textures/clouds.bmp"
expect_failure "Bpp from textures/Planet.bmp is not 24: 32" \
    dd if=<(printf '\x20') of="$work/textures/Planet.bmp" bs=1 seek=28 conv=notrunc status=none
expect_failure "Error reading image data from textures/nebula.bmp." truncate -s 4000 "$work/textures/nebula.bmp"
echo "PASS"
