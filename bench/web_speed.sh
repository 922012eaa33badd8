#!/usr/bin/env bash
# The shipped demo's timedemo on the desktop and in the page, one after the
# other, both drawn by Mesa's llvmpipe (the page's WebGL through ANGLE on an
# X display of its own); then the page on Chromium's own software WebGL
# (SwiftShader). All three play mute (the page with ?mute). Prints each frame
# line, the page's share of the desktop's speed, the page's heap over its
# last 20 seconds, what allocated most, and the load average.
#   web_speed.sh SOURCE_DIR PAGE_DIR DESKTOP_GAME
set -euo pipefail
source_dir=$1
page_dir=$2
desktop_game=$3
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
source "$source_dir/scripts/serve-page.sh"
serve_page "$page_dir" "$work/server.log"

fps() { sed -n 's/.*: \([0-9.]*\) fps.*/\1/p' | tail -n1; }
page() {  # GL
    bash "$source_dir/tests/support/own_display.sh" node --experimental-websocket \
        "$source_dir/bench/web_timedemo.mjs" /usr/bin/chromium-headless-shell \
        "http://127.0.0.1:$port/index.html?timedemo&mute" "$(mktemp -d "$work/profile.XXXXXX")" "$1" > "$work/$1.json"
    python3 - "$work/$1.json" "$1" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))
print(f"page, {sys.argv[2]}: {r['frameLine']} (status {r['exitStatus']})")
print(f"  heap over the last 20 s: {r['heapFirst']} to {r['heapLast']} bytes, at most {r['heapMax']}, "
      f"{r['heapFalls']} falls (collections) in {r['heapSamples']} samples")
for line in r['allocators']:
    print(f"  allocated (bytes, sampled): {line}")
for line in sorted(set(r['console'])):
    print(f"  console ({r['console'].count(line)}x): {line[:160]}")
PY
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
# The page's audio waits for a gesture that never comes; neither side mixes.
(cd "$source_dir" && bash tests/support/own_display.sh "$desktop_game" --timedemo --mute) > "$work/desktop.log" 2>&1 ||
    { cat "$work/desktop.log"; exit 1; }
desktop=$(fps < "$work/desktop.log")
echo "desktop, llvmpipe: $(grep 'frames in' "$work/desktop.log")"
page mesa
mesa=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["frameLine"])' "$work/mesa.json" | fps)
echo "page / desktop on llvmpipe: $(python3 -c "print(f'{$mesa / $desktop:.2f}')")"
echo "load average after the pair: $(cut -d' ' -f1-3 /proc/loadavg)"
page swiftshader
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
