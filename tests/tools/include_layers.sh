#!/usr/bin/env bash
# Every include under src/ points down the layers (or stays in its folder):
#   core < records < assets, game < camera, effects, sound < render < replay < app
# Folders on one level do not include each other.
#   include_layers.sh SRC_DIR
set -u
declare -A level=([core]=0 [records]=1 [assets]=2 [game]=2 [camera]=3 [effects]=3 [sound]=3 [render]=4 [replay]=5 [app]=6)
cd "$1" || exit 2
bad=0
for dir in */; do
    dir=${dir%/}
    [ -n "${level[$dir]:-}" ] || { echo "FAIL: src/$dir has no place in the layers"; bad=1; continue; }
done
while IFS=: read -r file _ target; do
    from=${file%%/*}
    to=${target%%/*}
    [ "$from" = "$to" ] && continue
    [ -n "${level[$to]:-}" ] || continue  # a system or local header
    if [ "${level[$to]}" -ge "${level[$from]}" ]; then
        echo "FAIL: $file includes $target, which is not below $from/"
        bad=1
    fi
done < <(grep -rEo '^\s*#\s*include\s+"[^"]+"' --include='*.h' --include='*.cpp' . |
         sed -E 's|^\./||; s|:\s*#\s*include\s+"|::|; s|"$||')
[ "$bad" -eq 0 ] && echo "PASS"
exit "$bad"
