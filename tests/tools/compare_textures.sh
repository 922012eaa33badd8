#!/usr/bin/env bash
# Regenerates every texture into a scratch directory and compares it byte
# for byte with the committed copy, so the images in textures/ can always be
# rebuilt from the generator's source. With ICON_DIR, the desktop icons too.
#
#   compare_textures.sh GENERATOR FONT_DIR TEXTURES_DIR [ICON_DIR]
set -u

if [ $# -ne 3 ] && [ $# -ne 4 ]; then
    echo "usage: $0 GENERATOR FONT_DIR TEXTURES_DIR [ICON_DIR]" >&2
    exit 2
fi
generator=$1
font_dir=$2
committed=$3
icons=${4:-}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

icon_args=()
[ -n "$icons" ] && icon_args=(--icon-dir "$scratch/icons")
if ! "$generator" --font-dir "$font_dir" "${icon_args[@]}" "$scratch/textures"; then
    echo "FAIL: the generator exited with an error" >&2
    exit 1
fi

passed=0
failed=0
shopt -s nullglob

# compare_dir FRESH COMMITTED: every file in one must be in the other, byte
# for byte.
compare_dir() {
local fresh_dir=$1 committed=$2
for fresh in "$fresh_dir"/*; do
    name=$(basename "$fresh")
    if [ ! -f "$committed/$name" ]; then
        echo "FAIL: $name is generated but missing from $committed"
        failed=$((failed + 1))
    elif ! cmp -s "$fresh" "$committed/$name"; then
        echo "FAIL: $name differs from the committed copy ($(cmp "$fresh" "$committed/$name" 2>&1 | head -n 1))"
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
done
for old in "$committed"/*; do
    name=$(basename "$old")
    if [ ! -e "$fresh_dir/$name" ]; then
        echo "FAIL: $name is committed but no longer generated"
        failed=$((failed + 1))
    fi
done
}

compare_dir "$scratch/textures" "$committed"
[ -n "$icons" ] && compare_dir "$scratch/icons" "$icons"
if [ "$passed" -eq 0 ] && [ "$failed" -eq 0 ]; then
    echo "FAIL: the generator wrote no files"
    exit 1
fi

echo "textures: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
