#!/usr/bin/env bash
# Regenerates every sound into a scratch directory and compares it byte for
# byte with the committed copy, so sounds/ can always be rebuilt from the
# generator's source.
#
#   compare_sounds.sh GENERATOR SOUNDS_DIR
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$1" "$scratch" || { echo "FAIL: the generator exited with an error"; exit 1; }
[ -n "$(ls "$2")" ] || { echo "FAIL: no committed sounds in $2"; exit 1; }
diff -r "$scratch" "$2" || { echo "FAIL: the generated sounds differ from $2"; exit 1; }
echo "PASS"
