#!/usr/bin/env bash
# The browser build plays the session recording in headless Chromium and
# prints what the desktop prints, byte for byte, with every checksum agreeing,
# and draws the desktop's picture (three frames, through Mesa and through
# SwiftShader); then a game played in the page (keys,
# mouse look, q) replays on the desktop, and so does its copy saved mid-game,
# which also plays dropped on the page.
#   web_test.sh SOURCE_DIR PAGE_DIR DESKTOP_GAME
source "$(dirname "$0")/lib.sh" "$1" "$2"
desktop_game=$3
cp "$source_dir/tests/game/session.qvr" "$site/session.qvr"
desktop=
trap '[ -n "$desktop" ] && kill -- "-$desktop" 2>/dev/null; cleanup' EXIT

# The session, replayed in the page on each renderer: the desktop's output,
# every checksum agreeing, and three frames (the title, play with the planet
# and the gas giant lit, game over) as the desktop draws them with Mesa's
# llvmpipe. The page draws them through Mesa too (ANGLE on an X display of
# its own), and through Chromium's own SwiftShader; each renderer has its own
# limit, just above what it measured.
shots=30,300,2450
mkdir "$work/desktop" "$work/swiftshader" "$work/mesa"
(cd "$work/desktop" && exec setsid bash "$source_dir/tests/support/own_display.sh" "$desktop_game" \
    --timedemo "$source_dir/tests/game/session.qvr" --shots "$shots" > desktop.log 2>&1) &
desktop=$!
export PAGE_SECONDS=1500  # 2616 frames in software WebGL on a loaded machine
SHOTS_DIR="$work/swiftshader" pages - "?timedemo=session.qvr&shots=$shots" > "$work/swiftshader.json"
wait "$desktop" || { cat "$work/desktop/desktop.log"; exit 1; }
desktop=
SHOTS_DIR="$work/mesa" GL=mesa pages - "?timedemo=session.qvr&shots=$shots" > "$work/mesa.json"
unset PAGE_SECONDS
python3 - "$work" "$source_dir/tests/game/session_expected.txt" "$shots" <<'PY'
import json, subprocess, sys
work, expected, shots = sys.argv[1], open(sys.argv[2]).read(), sys.argv[3].split(',')
# By frame, the % of pixels off by more than 25 of 255 in a channel (most
# of it magnified nearest texels landing a pixel apart: stars, nebula, gas
# giant), and the mean difference in a channel, of 255, which a light a
# tenth too dim moves though few of its pixels pass 25: just above what
# each renderer measured.
limits = {'mesa': {'30': (2.2, 1.92), '300': (1.3, 1.375), '2450': (1.15, 1.27)},
          'swiftshader': {'30': (2.2, 1.935), '300': (1.4, 1.42), '2450': (1.2, 1.3)}}
drawn_by = {'mesa': 'llvmpipe', 'swiftshader': 'SwiftShader'}
def rgb(path):
    return subprocess.run(['convert', path, 'rgb:-'], check=True, capture_output=True).stdout
failures = []
for renderer, limit in limits.items():
    page = json.load(open(f'{work}/{renderer}.json'))
    printed = ''.join(line + '\n' for line in page['stdout'])
    errors = '\n'.join(page['stderr'])
    print(renderer + ':', next((line for line in page['stderr'] if 'frames in' in line), 'no frame line'))
    if drawn_by[renderer] not in (page['renderer'] or ''):
        failures.append(f"{renderer}: the page drew with {page['renderer']}")
    if page['exitStatus'] != 0:
        failures.append(f"{renderer}: exit status {page['exitStatus']}, not 0: {page['error']}")
    if 'replay diverged' in errors:
        failures.append(f'{renderer}: a checksum disagreed: ' + errors)
    if printed != expected:
        failures.append(f'{renderer}: standard output differs from the desktop\'s:\n' + printed)
    for frame in shots:
        drawn, desktop = (rgb(f'{work}/{side}/shot-{frame}.png') for side in (renderer, 'desktop'))
        off = bytes(abs(a - b) > 25 for a, b in zip(drawn, desktop))
        share = 100 * sum(1 for i in range(0, len(off), 3) if any(off[i:i + 3])) / (len(desktop) // 3)
        mean = sum(abs(a - b) for a, b in zip(drawn, desktop)) / len(desktop)
        print(f'{renderer}, frame {frame}: {share:.3f} % of pixels differ from the desktop\'s, by {mean:.3f} on average '
              f'(limits {limit[frame][0]} %, {limit[frame][1]})')
        if share > limit[frame][0] or mean > limit[frame][1] or len(drawn) != len(desktop):
            failures.append(f'{renderer}: frame {frame} is not the desktop\'s')
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
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
pages "$work/actions" "" > "$work/play.json"
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
pages "$work/actions" "" > "$work/dropped.json"
python3 - "$work/dropped.json" "$work/saved.txt" <<'PY'
import json, sys
page = json.load(open(sys.argv[1]))
printed = ''.join(line + '\n' for line in page['stdout'])
if page['exitStatus'] != 0 or printed != open(sys.argv[2]).read():
    sys.exit(f"the dropped recording played with status {page['exitStatus']}:\n{printed}")
PY
