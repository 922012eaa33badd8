#!/usr/bin/env bash
# Regenerates every texture into a scratch directory and compares it byte
# for byte with the committed copy, so the images in textures/ can always be
# rebuilt from the generator's source. With ICON_DIR, the desktop icons too.
#
#   compare_textures.sh GENERATOR FONT_DIR TEXTURES_DIR [ICON_DIR]
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

icon_args=()
[ $# -eq 4 ] && icon_args=(--icon-dir "$scratch/icons")
"$1" --font-dir "$2" "${icon_args[@]}" "$scratch/textures" || { echo "FAIL: the generator exited with an error"; exit 1; }
[ -n "$(ls "$3")" ] || { echo "FAIL: no committed textures in $3"; exit 1; }
# a file generated but not committed, committed but no longer generated, or
# different from the committed copy
diff -r -x "*.qvr" "$scratch/textures" "$3" || { echo "FAIL: the generated textures differ from $3"; exit 1; }
[ $# -eq 3 ] || diff -r "$scratch/icons" "$4" || { echo "FAIL: the generated icons differ from $4"; exit 1; }
echo "PASS"
