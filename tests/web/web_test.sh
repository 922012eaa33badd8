#!/usr/bin/env bash
# The browser build plays the session recording in headless Chromium and
# prints what the desktop prints, byte for byte, with every checksum agreeing,
# and draws the desktop's picture (three frames: at most 3 % of pixels off by
# more than 25 of 255 in any channel); then a game played in the page (keys,
# mouse look, q) replays on the desktop, and so does its copy saved mid-game,
# which also plays dropped on the page.
#   web_test.sh SOURCE_DIR PAGE_DIR DESKTOP_GAME
set -euo pipefail
source_dir=$1
page_dir=$2
desktop_game=$3
"$source_dir/scripts/install-deps.sh" web || { echo "cannot install the browser build's packages"; exit 77; }
if ! node --experimental-websocket -e 'if (typeof WebSocket !== "function") process.exit(1)' 2>/dev/null; then
    echo "node has no WebSocket client (Node 20.10 or later has one)" >&2
    exit 1
fi
"$source_dir/web/build.sh" "$page_dir"
cp "$source_dir/tests/game/session.qvr" "$page_dir/session.qvr"

work=$(mktemp -d)
server=
desktop=
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null
    [ -n "$desktop" ] && kill -- "-$desktop" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$page_dir" > "$work/server.log" 2>&1 &
server=$!
port=
for _ in $(seq 200); do
    port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$work/server.log" | head -n1)
    [ -n "$port" ] && break
    kill -0 "$server" || { cat "$work/server.log"; exit 1; }
    sleep 0.05
done
[ -n "$port" ] || { echo "the server named no port"; exit 1; }

page() {  # URL [ACTIONS]
    rm -rf "$work/profile"
    node --experimental-websocket "$source_dir/tests/web/drive.mjs" /usr/bin/chromium-headless-shell \
        "http://127.0.0.1:$port/index.html$1" "$work/profile" ${2:-}
}

# The title, play with the planet and the gas giant lit, game over.
shots=30,300,2450
mkdir "$work/page" "$work/desktop"
(cd "$work/desktop" && exec setsid bash "$source_dir/tests/support/own_display.sh" "$desktop_game" \
    --timedemo "$source_dir/tests/game/session.qvr" --shots "$shots" > desktop.log 2>&1) &
desktop=$!
SHOTS_DIR="$work/page" page "?timedemo=session.qvr&shots=$shots" > "$work/session.json"
wait "$desktop" || { cat "$work/desktop/desktop.log"; exit 1; }
desktop=
python3 - "$work/session.json" "$source_dir/tests/game/session_expected.txt" <<'PY'
import json, sys
page = json.load(open(sys.argv[1]))
expected = open(sys.argv[2]).read()
printed = ''.join(line + '\n' for line in page['stdout'])
errors = '\n'.join(page['stderr'])
print(next((line for line in page['stderr'] if 'frames in' in line), 'no frame line'))
failures = []
if page['exitStatus'] != 0:
    failures.append(f"exit status {page['exitStatus']}, not 0")
if 'replay diverged' in errors:
    failures.append('a checksum disagreed: ' + errors)
if printed != expected:
    failures.append('standard output differs from the desktop\'s:\n' + printed)
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
PY
python3 - "$work" "$shots" <<'PY'
import subprocess, sys
def rgb(path):
    return subprocess.run(['convert', path, 'rgb:-'], check=True, capture_output=True).stdout
failed = False
for frame in sys.argv[2].split(','):
    page, desktop = (rgb(f'{sys.argv[1]}/{side}/shot-{frame}.png') for side in ('page', 'desktop'))
    off = bytes(abs(a - b) > 25 for a, b in zip(page, desktop))
    share = 100 * sum(1 for i in range(0, len(off), 3) if any(off[i:i + 3])) / (len(desktop) // 3)
    failed |= share > 3 or len(page) != len(desktop)
    print(f'frame {frame}: {share:.2f} % of pixels differ from the desktop\'s')
sys.exit(1 if failed else 0)
PY

# A game in the page: start, look around past the edges (the warp's echo),
# fire, save, fly, quit. Its recording must replay on the desktop to its
# output; so must the copy saved mid-game, to the output up to then.
{
    echo "key space"
    for i in $(seq 12); do echo "move 170 -60"; echo "key space"; echo "move -90 45"; done
    echo "save"
    echo "key w"
    for i in $(seq 12); do echo "move -160 70"; echo "key space"; done
    echo "key q"
} > "$work/actions"
page "" "$work/actions" > "$work/play.json"
python3 - "$work/play.json" "$work" <<'PY'
import json, sys
page = json.load(open(sys.argv[1]))
for name in ['recording', 'saved']:
    if page['exitStatus'] != 0 or not page.get(name) or not page[name].endswith('end\n'):
        sys.exit(f"the page ended with status {page['exitStatus']} and no complete {name}")
    open(f'{sys.argv[2]}/{name}.qvr', 'w').write(page[name])
open(sys.argv[2] + '/played.txt', 'w').write(''.join(line + '\n' for line in page['stdout']))
print(sum(line.startswith('m ') for line in page['recording'].splitlines()), 'pointer moves recorded')
# Every shot's eye line, and the look moved between the first twelve (the
# camera stands still until `w`).
eyes = [line for line in page['stdout'] if line.startswith('eye: ')]
if len(eyes) != 24 or any(a == b for a, b in zip(eyes[:12], eyes[1:12])):
    sys.exit('the keys or the pointer did not reach the camera:\n' + '\n'.join(eyes))
zaps = page['soundsStarted'][2] if len(page['soundsStarted']) > 2 else 0
if not zaps:
    sys.exit('no shot was heard: the page\'s audio never ran')
print(zaps, 'shots heard')
PY
desktop() {  # RECORDING OUTPUT
    local status=0
    bash "$source_dir/tests/support/own_display.sh" "$desktop_game" --replay "$1" > "$2" 2> "$work/desktop.err" \
        || status=$?
    [ "$status" -eq 0 ] || { echo "$1 replayed on the desktop with status $status:"; cat "$work/desktop.err"; exit 1; }
}
desktop "$work/recording.qvr" "$work/desktop.txt"
cmp -s "$work/played.txt" "$work/desktop.txt" || { diff "$work/played.txt" "$work/desktop.txt"; exit 1; }
desktop "$work/saved.qvr" "$work/saved.txt"
if [ "$(grep -c '^eye: ' "$work/saved.txt")" -ne 12 ] || \
    ! cmp -s "$work/saved.txt" <(head -c "$(wc -c < "$work/saved.txt")" "$work/played.txt"); then
    echo "the copy saved mid-game does not replay the game up to then:"
    diff "$work/saved.txt" "$work/played.txt"
    exit 1
fi

# The saved copy dropped on the page plays there too.
echo "drop $work/saved.qvr" > "$work/actions"
page "" "$work/actions" > "$work/dropped.json"
python3 - "$work/dropped.json" "$work/saved.txt" <<'PY'
import json, sys
page = json.load(open(sys.argv[1]))
printed = ''.join(line + '\n' for line in page['stdout'])
if page['exitStatus'] != 0 or printed != open(sys.argv[2]).read():
    sys.exit(f"the dropped recording played with status {page['exitStatus']}:\n{printed}")
PY
