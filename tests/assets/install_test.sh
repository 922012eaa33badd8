#!/usr/bin/env bash
# Installs the game into a throwaway prefix, then starts the installed game
# and the build tree's game from a folder without textures: both must find
# their images and still be running after a few seconds.
#   install_test.sh BUILD_DIR SOURCE_DIR BUILD_TREE_GAME
# Exits 77 (skipped) until the images exist or without an X display.
set -uo pipefail

build=$1
source=$2
game=$3

images=("$source"/textures/*.bmp)
if [[ ! -e ${images[0]} ]]; then
    echo "skipped: no images in $source/textures yet"
    exit 77
fi
if [[ -z ${DISPLAY:-} ]]; then
    echo "skipped: needs an X display (run under xvfb-run)"
    exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null || fail "cmake --install"
[[ -x $scratch/prefix/bin/quorvane ]] || fail "no executable in prefix/bin"
for image in "${images[@]}"; do
    cmp -s "$image" "$scratch/prefix/share/quorvane/textures/${image##*/}" ||
        fail "${image##*/} not installed"
done

mkdir "$scratch/elsewhere"
for program in "$scratch/prefix/bin/quorvane" "$game"; do
    (cd "$scratch/elsewhere" && timeout 4 "$program" >"$scratch/out" 2>&1)
    status=$?
    [[ $status -eq 124 ]] || fail "$program ended early with status $status: $(head -c 300 "$scratch/out")"
    grep -q "File Not Found" "$scratch/out" && fail "$program did not find its textures"
done
[[ $failed -eq 0 ]] && echo "installed and build-tree games found their textures"
exit $failed
