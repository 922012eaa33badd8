#!/usr/bin/env bash
# The README's pictures, drawn by the real game replaying the session
# recording (make demo runs it under Xvfb): the title screen, play, game
# over, and an animated GIF of a kill.
#   demo.sh GAME OUTDIR DOCS
set -euo pipefail
game=$(realpath "$1")
outdir=$(realpath -m "$2")
docs=$(realpath "$3")
session=$(dirname "$0")/../tests/game/session.qvr
session=$(realpath "$session")
[ -n "${DISPLAY:-}" ] || { echo "demo.sh: no X display (make demo starts Xvfb)"; exit 1; }
command -v convert >/dev/null || { echo "demo.sh: convert is missing (scripts/install-deps.sh test)"; exit 1; }

mkdir -p "$outdir"
cd "$outdir"
rm -f shot-*.png
# title, the kill, play with trails and impacts, game over
"$game" --timedemo "$session" --shots 40,2190-2310,2120,2420 >stdout.txt
for picture in title:40 play:2120 gameover:2420; do
    convert "shot-${picture#*:}.png" -define png:compression-level=9 "$docs/screenshot-${picture%:*}.png"
done
frames=()
for n in $(seq 2190 3 2310); do frames+=("shot-$n.png"); done
convert -delay 18 -loop 0 "${frames[@]}" -resize 40% -fuzz 3% -layers Optimize "$docs/play.gif"
ls -l "$docs"
