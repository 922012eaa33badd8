# Helpers for the end-to-end tests: start the real game under X, wait for
# conditions, take screenshots, fail fast with the game's output shown.
# Source it after setting `game` to the executable's path.

source "$(dirname "${BASH_SOURCE[0]}")/../support/skip.sh"
[ -n "${DISPLAY:-}" ] || skip "no X display; run under xvfb-run -a -s '-screen 0 1280x1024x24'"
for tool in xdotool import compare convert; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh test)"; exit 1; }
done

work=$(mktemp -d)
out="$work/stdout"
err="$work/stderr"
pid=
window=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- game output (last 40 lines):"
    tail -n 40 "$out" 2>/dev/null
    echo "--- standard error:"
    tail -n 10 "$err" 2>/dev/null
    exit 1
}

# wait_for SECONDS COMMAND...: polls the command every 0.1 s until it
# succeeds or the time is up.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    while [ "$SECONDS" -lt "$deadline" ]; do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

alive() { kill -0 "$pid" 2>/dev/null; }

window_up() {
    alive || fail "the game ended before its window appeared"
    # mapped, not only made: keys sent to a window still loading its images
    # before its map request reaches the server go nowhere
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^Quorvane$' 2>/dev/null | head -n 1)
    [ -n "$window" ]
}

# launch DIR [ARG...]: starts the game with DIR as its working directory.
launch() {
    (cd "$1" && exec "$game" "${@:2}" >"$out" 2>"$err") &
    pid=$!
}

# start_game DIR [ARG...]: starts the game with DIR as its working
# directory and waits for its window.
start_game() {
    launch "$@"
    wait_for 60 window_up || fail "no window titled Quorvane after 60 s"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# wait_exit SECONDS: waits for the game to end and sets `status`.
ended() { ! alive; }
wait_exit() {
    wait_for "$1" ended || return 1
    status=0
    wait "$pid" || status=$?
    pid=
}

key() { xdotool key --clearmodifiers --delay 60 "$@"; }

# shot NAME: the window's 1000 x 800 pixels as $work/NAME.png.
shot() {
    import -silent -window root -crop 1000x800+0+0 +repage "$work/$1.png" || fail "screenshot $1 failed"
}

# changed A B: percentage of pixels that differ by more than 8% between
# two screenshots.
changed() {
    local count
    count=$(compare -metric AE -fuzz 8% "$work/$1.png" "$work/$2.png" null: 2>&1 | cut -d' ' -f1)
    awk -v n="$count" 'BEGIN { printf "%.2f", 100 * n / 800000 }'
}

# lit NAME X Y W H: percentage of pixels in the region brighter than 10%.
lit() {
    convert "$work/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -threshold 10% \
        -format '%[fx:100*mean]' info:
}

# more A B: true when the number A is greater than the number B.
more() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# title_drawn: the title screen is on show, its logo lighting up the middle
# of the window (the logo quad spans x 244 to 756, y 94 to 606 from the
# top); the game is in its main loop, drawing.
title_drawn() { shot title && more "$(lit title 244 94 512 512)" 5; }

# looping: the game runs its main loop (its idle ticks spawn a missile every
# half second on the title screen and say so), without the cost of a
# screenshot.
looping() { grep -q '^Spawning Missile at: ' "$out"; }

count_lines() { grep -c "$1" "$out" || true; }
# shots_fired N: the game has fired N shots, one "eye: " line each.
shots_fired() { [ "$(count_lines '^eye: ')" -eq "$1" ]; }

# replays NAME: NAME.qvr, recorded here with --shots last by the game just
# ended, replays to what that game wrote and draws its last frame
replays() {
    mv shot-last.png "$1.png" && mv "$out" "$1.out" || fail "$1: no last frame or output"
    "$game" --replay "$1.qvr" --shots last >"$1.replayed" 2>"$1.err" || fail "$1: --replay: status $?: $(cat "$1.err")"
    cmp -s "$1.out" "$1.replayed" || fail "$1: the replay's output differs: $(diff "$1.out" "$1.replayed" | head -5)"
    cmp -s "$1.png" shot-last.png || fail "$1: the replay's last frame differs from the recorded one"
}
