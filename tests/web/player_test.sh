#!/usr/bin/env bash
# The page as players get it, in one browser: a window of any size (the
# canvas fills it, the game's reshape hears of each size, a replay is scaled
# to fit whole), a click taking the pointer, a phone's touch controls,
# a small first download, a second visit offline, and plain errors: no
# exception or console error in a normal game, and without WebGL a notice
# before any of the game's data is asked for; a new build replaces the kept
# one. The games played by keys and by touch replay on the desktop.
#   player_test.sh SOURCE_DIR PAGE_DIR DESKTOP_GAME
source "$(dirname "$0")/lib.sh" "$1" "$2"
desktop_game=$3
cp "$source_dir/tests/game/session.qvr" "$site/player-session.qvr"
# The server may be gone already (see below).
watcher=
trap 'kill "$server" $watcher 2>/dev/null || true; server=; cleanup' EXIT
cache=$(sed -n "s/^const CACHE = '\(.*\)';$/\1/p" "$page_dir/sw.js")
[ -n "$cache" ] || { echo "sw.js names no cache"; exit 1; }
mkdir "$work/shots"
export SHOTS_DIR="$work/shots"
started='Module.quorvane && Module.quorvane.started'
eyes='Module.quorvane.stdout.filter(l => l.startsWith("eye: ")).length'
{
    # A desktop: loaded at 640x480, resized to 1600x900; a click takes the
    # pointer (and Pointer Lock, once let go, leaves the hint).
    hint='!document.getElementById("look").hidden'
    echo "wait $started && Module.canvas.width == 640 && Module.canvas.height == 480 && $hint"
    echo "shot title-640"
    echo "key space"
    echo "key w"  # before any turn: the hint says why nothing flies
    echo "wait !document.getElementById('turn-first').hidden"
    echo "click 321 241"
    echo "wait document.pointerLockElement === Module.canvas && !($hint)"
    # Real moves under the lock turn the view between two shots. (Headless
    # Chromium draws a frame only per input while the pointer is locked, and
    # under load answers slowly: let go at once.)
    echo "key space"
    echo "mouse 40 0"; echo "mouse 0 30"; echo "mouse 250 0"  # the last to the edge
    echo "key space"
    echo "wait (document.exitPointerLock(), true)"
    echo "wait !document.pointerLockElement && $hint && $eyes == 2"
    echo "key space"
    echo "size 1600 900"
    echo "wait Module.canvas.width == 1600 && Module.canvas.height == 900"
    echo "key space"
    echo "wait $eyes == 4"
    echo "shot play-1600"
    echo "key q"
    echo "next"
    # The session replayed in a window smaller than its recording's.
    echo "size 640 480"
    echo "wait Module.quorvane.stdout.length > 3"
    echo "shot replay-640"
    echo "key q"
    echo "next"
    # A phone: its own controls, a drag to look, two fingers, portrait.
    echo "size 844 390 mobile"
    echo "wait $started"
    echo "touch start 10,10"; echo "touch end"
    echo "wait document.body.classList.contains('touch')"
    echo "shot phone-title"
    echo "touch start [aria-label=Fire]"; echo "touch end"
    for i in 1 2 3; do
        echo "touch start 300,200"; echo "touch move 340,180"; echo "touch move 380,170"; echo "touch end"
        echo "touch start [aria-label=Fire]"; echo "touch end"
    done
    echo "touch start 300,200"; echo "touch start 300,200 [aria-label=Fire]"; echo "touch move 340,220 [aria-label=Fire]"; echo "touch move 380,240 [aria-label=Fire]"
    echo "wait $eyes >= 7"  # fire held repeats
    echo "touch end"
    echo "shot phone-play"
    echo "size 390 844 mobile"
    echo "wait getComputedStyle(document.getElementById('turn')).display == 'flex'"
    echo "shot phone-portrait"
    echo "key q"
    echo "size 1000 800"
    echo "next"
    # Installed by the last visit. A new build comes (see below): its worker
    # keeps the files anew and drops the old cache. Then the server stops,
    # and offline the title draws and a game starts.
    echo "wait navigator.serviceWorker.controller"
    echo "shot installed"
    echo "wait fetch('sw.js', { cache: 'no-store' }).then(r => r.text()).then(t => { window.built = t.includes('$cache-next'); }) && window.built"
    echo "wait navigator.serviceWorker.getRegistration().then(r => r.update())"
    kept="names => Promise.all(names.map(n => caches.open(n).then(c => c.keys()).then(r => n + ' ' + r.length)))"
    echo "wait caches.keys().then($kept).then(kept => { window.kept = kept.join(); }) && window.kept == '$cache-next 8'"
    echo "shot replaced"
    echo "wait fetch('sw.js?alive', { cache: 'no-store' }).then(() => {}, () => { window.serverGone = true; }) && window.serverGone"
    echo "offline"
    echo "key q"
    echo "next"
    echo "wait $started"
    echo "key space"
    echo "key space"
    echo "wait $eyes == 1"
    echo "key q"
} > "$work/actions"
BROWSER_ARGS=--disable-webgl PAGE_SECONDS=60 pages - "" > "$work/no-webgl.json"
# Once the page is installed, a new build (the same files under a new
# cache's name); once that has replaced the old, the server stops: the last
# visit has only the service worker's cache.
until_shot() { for _ in $(seq 3000); do [ -f "$work/shots/$1.png" ] && return; sleep 0.1; done; }
( until_shot installed; sed "s/^const CACHE = '.*';$/const CACHE = '$cache-next';/" "$page_dir/sw.js" > "$work/sw.js"
  mv "$work/sw.js" "$site/sw.js"; until_shot replaced; kill "$server" ) &
watcher=$!
WINDOW=640x480 PAGE_SECONDS=300 pages "$work/actions" "" "?replay=player-session.qvr" "" "" "" > "$work/pages.json"
for shot in "$work"/shots/*.png; do cp "$shot" "${KEEP_SHOTS:-$work}/" 2>/dev/null || true; done
python3 - "$work" <<'PY'
import json, subprocess, sys
work = sys.argv[1]
desktop, replay, phone, visit, offline = (json.loads(line) for line in open(f'{work}/pages.json'))
no_webgl = json.loads(open(f'{work}/no-webgl.json').read())
failures = []
def check(ok, what):
    if not ok:
        failures.append(what)
def rgb(name):
    out = subprocess.run(['convert', f'{work}/shots/{name}.png', '-depth', '8', 'rgb:-'], check=True, capture_output=True).stdout
    size = subprocess.run(['identify', '-format', '%w %h', f'{work}/shots/{name}.png'], check=True, capture_output=True, text=True).stdout
    return out, *map(int, size.split())
def lit_columns(name):  # the columns with a lit pixel, between the page's buttons
    pixels, w, h = rgb(name)
    return [x for x in range(w) if any(max(pixels[3 * (y * w + x):3 * (y * w + x) + 3]) > 40
                                       for y in range(h // 6, h - h // 6, 4))], w, h

for name, page in [('desktop', desktop), ('replay', replay), ('phone', phone), ('visit', visit), ('offline', offline)]:
    check(page['exitStatus'] == 0 and page['error'] is None, f"{name}: status {page['exitStatus']}, {page['error']!r}")
    # (the installing visit's probe of the stopped server logs errors of its own)
    check(not page['exceptions'] and (name == 'visit' or not page['consoleErrors']),
          f"{name}: exceptions {page['exceptions']}, console errors {page['consoleErrors']}")

# Real moves reached the game and turned the view; the one to the edge made
# the game warp, echoed in the middle: a few motions a move, no loop.
# (Headless Chromium gives a locked move's movement from the viewport's
# corner, and may re-centre with a move back.)
motions = [line for line in desktop['recording'].splitlines() if line.startswith('m ')]
desktop_eyes = [line for line in desktop['stdout'] if line.startswith('eye: ')]
check(len(set(motions)) >= 4 and 'm 320 240' in motions and len(motions) < 60 and desktop_eyes[0] != desktop_eyes[1],
      f'real moves: {len(motions)} motions {motions[:16]}, eyes {desktop_eyes[:2]}')
# Sizes: the game heard each one, and the title's logo sits in the middle.
resizes = [line for line in desktop['recording'].splitlines() if line.startswith('r ')]
check(resizes[-2:] == ['r 640 480', 'r 1600 900'], f'the recording\'s sizes: {resizes}')
# The first load: gzipped data, at most 4 MB over the wire.
print(f"first load: {desktop['bytes'] / 1e6:.2f} MB; offline visit: {offline['bytes'] / 1e6:.2f} MB")
check(desktop['bytes'] <= 4e6, f"the first load took {desktop['bytes']} bytes")
check(not any(url.endswith('/quorvane.data') for url in desktop['requests']), 'the page asked for the raw data')

# A replay in a smaller window: the whole frame, scaled, with bars at the sides.
columns, w, h = lit_columns('replay-640')
check(columns and columns[0] >= 18 and columns[-1] <= w - 19 and columns[-1] - columns[0] > 500,
      f"the replay at 640x480: lit columns {columns[:1]}..{columns[-1:]}")

# Touch: taps started and fired, drags turned, two fingers did both at once;
# every key carried the virtual pointer as the desktop's does.
eye_lines = [line for line in phone['stdout'] if line.startswith('eye: ')]
check(len(eye_lines) >= 7 and len(set(eye_lines[:3])) == 3 and eye_lines[-1] != eye_lines[3], 'touch did not fire and turn:\n' + '\n'.join(eye_lines))
keys = [line for line in phone['recording'].splitlines() if line.startswith('k ')]
check(keys and all(line.startswith('k 32 ') for line in keys[:6]), f'touch keys: {keys}')
check(sum(line.startswith('eye: ') for line in offline['stdout']) == 1, 'no game offline')

# Without WebGL: the notice, no exception, no data asked for.
check(no_webgl['error'] and 'WebGL' in no_webgl['notice'] and not no_webgl['exceptions']
      and not any('quorvane.data' in url or 'quorvane.js' in url for url in no_webgl['requests']),
      f"without WebGL: {no_webgl['notice']!r}, {no_webgl['exceptions']}, asked for {no_webgl['requests']}")
for name, page in [('desktop', desktop), ('phone', phone)]:
    open(f'{work}/{name}.qvr', 'w').write(page['recording'])
    open(f'{work}/{name}.txt', 'w').write(''.join(line + '\n' for line in page['stdout']))
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
PY
# Played by keys and by touch, each replays on the desktop to the same output.
for game in desktop phone; do
    bash "$source_dir/tests/support/own_display.sh" "$desktop_game" --replay "$work/$game.qvr" > "$work/$game-desktop.txt" \
        2> "$work/$game.err" || { echo "the $game game replayed with an error:"; cat "$work/$game.err"; exit 1; }
    cmp -s "$work/$game.txt" "$work/$game-desktop.txt" || { diff "$work/$game.txt" "$work/$game-desktop.txt"; exit 1; }
done
