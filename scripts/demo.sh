#!/usr/bin/env bash
# A scripted tour of the real game under X (make demo runs it under Xvfb):
# the title screen, play with smoke trails, a missile shot down and its
# explosion, a crash into the planet and the game-over screen. Writes PNG
# screenshots and an animated GIF of the kill.
#   demo.sh GAME OUTDIR GIF
set -uo pipefail

game=$(realpath "$1")
outdir=$2
gif=$(realpath -m "$3")
[ -n "${DISPLAY:-}" ] || { echo "demo.sh: no X display (make demo starts Xvfb)"; exit 1; }
for tool in xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "demo.sh: $tool is missing (scripts/install-deps.sh test)"; exit 1; }
done
mkdir -p "$outdir" "$(dirname "$gif")"
outdir=$(realpath "$outdir")
work=$(mktemp -d)
out=$outdir/stdout.txt
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
die() { echo "demo.sh: $*"; tail -n 20 "$out"; exit 1; }

shot() { import -silent -window root -crop 1000x800+0+0 +repage "$1"; }

# ---- the pointer and mouse look -------------------------------------------
# The game sets each look angle to the pointer coordinate minus the angle,
# and only every second pointer event turns the view. The script mirrors
# that to reach given angles; a restart zeroes them, and the first event
# after start-up turns the view.
yaw=0 pitch=0 turns=1 px=500 py=400

pointer() {  # x y: one pointer event
    xdotool mousemove --sync "$1" "$2"
    yaw=$(($1 - yaw)) pitch=$(($2 - pitch)) px=$1 py=$2
    turns=$((1 - turns))
    sleep 0.1
}

inside() { [ "$1" -ge 20 ] && [ "$1" -le 980 ] && [ "$2" -ge 20 ] && [ "$2" -le 780 ]; }
clampx() { local v=$1; ((v < 20)) && v=20; ((v > 980)) && v=980; echo $v; }
clampy() { local v=$1; ((v < 20)) && v=20; ((v > 780)) && v=780; echo $v; }

look() {  # yaw pitch: whole degrees
    local want_yaw=$1 want_pitch=$2 x y
    for _ in 1 2 3; do
        if [ "$turns" -eq 1 ]; then
            x=$((want_yaw + yaw)) y=$((want_pitch + pitch))
            if inside "$x" "$y"; then
                [ "$x" -eq "$px" ] && [ "$y" -eq "$py" ] && x=$((x + 1))
                pointer "$x" "$y"
                return 0
            fi
            pointer 500 400
        fi
        # an event that does not turn the view, chosen so that the next one
        # lands near the middle of the window
        x=$(clampx $((500 - want_yaw + yaw))) y=$(clampy $((400 - want_pitch + pitch)))
        [ "$x" -eq "$px" ] && [ "$y" -eq "$py" ] && x=$((x + 1))
        pointer "$x" "$y"
    done
    return 1
}

# Look angles that put the look point (on the sphere of radius 180 about
# the origin) on the ray from the play eye through x y z, and how many
# times farther than the look point x y z lies, in percent. The angles are
# whole degrees, which leaves the look point up to about 1.6 units off; a
# target that many times farther is off by that many times more.
angles_toward() {
    awk -v tx="$1" -v ty="$2" -v tz="$3" 'BEGIN {
        ex = 43; ey = 31.75; ez = -83
        dx = tx - ex; dy = ty - ey; dz = tz - ez
        a = dx*dx + dy*dy + dz*dz; b = 2 * (ex*dx + ey*dy + ez*dz); c = ex*ex + ey*ey + ez*ez - 180*180
        s = (-b + sqrt(b*b - 4*a*c)) / (2*a)
        cx = ex + s*dx; cy = ey + s*dy; cz = ez + s*dz
        sp = -cy / 180
        pi = atan2(0, -1)
        pitch = atan2(sp, sqrt(1 - sp*sp)) * 180 / pi
        yaw = atan2(-cz, -cx) * 180 / pi
        printf "%d %d %d\n", (yaw < 0 ? yaw - 0.5 : yaw + 0.5), (pitch < 0 ? pitch - 0.5 : pitch + 0.5), 100 / s
    }'
}

# A point of the missile's straight path from its spawn point to the
# planet's centre (-50, 50, 50), at the given fraction of the way.
along_path() {
    awk -v x="$1" -v y="$2" -v z="$3" -v f="$4" \
        'BEGIN { printf "%f %f %f\n", x + f*(-50-x), y + f*(50-y), z + f*(50-z) }'
}

count() { grep -c "$1" "$out" || true; }

# ---- the tour --------------------------------------------------------------
cd "$work"
"$game" >"$out" 2>&1 &
pid=$!
for _ in $(seq 100); do
    xdotool search --pid "$pid" --name '^Quorvane$' >/dev/null 2>&1 && break
    kill -0 "$pid" 2>/dev/null || die "the game ended at start-up"
    sleep 0.1
done

# the title screen, with the first missiles already flying behind it
sleep 3
shot "$outdir/title.png"
echo "title.png"

xdotool key space
sleep 0.5
spawned_before=$(count '^Spawning Missile at: ')

# Wait for a missile of the new game, aim at a point on its path and fire a dense stream of shots across it until one brings it
# down. The point is chosen where the aim is surest (see angles_toward), and
# a missile whose path offers none sure enough is left alone.
frames=$work/frames
mkdir -p "$frames"
n=0
kills=$(count '^Score: ')
for attempt in $(seq 12); do
    for _ in $(seq 150); do
        [ "$(count '^Spawning Missile at: ')" -gt "$spawned_before" ] && break
        sleep 0.1
    done
    line=$(grep '^Spawning Missile at: ' "$out" | tail -n 1)
    spawned_before=$(count '^Spawning Missile at: ')
    read -r x y z <<<"${line#Spawning Missile at: }"
    [ -n "$z" ] || die "no missile spawned"
    best=
    for f in 0.3 0.4 0.5 0.6 0.7; do
        read -r ax ay az <<<"$(along_path "$x" "$y" "$z" "$f")"
        read -r try_yaw try_pitch reach <<<"$(angles_toward "$ax" "$ay" "$az")"
        if [ -z "$best" ] || [ "$reach" -lt "$best" ]; then
            best=$reach want_yaw=$try_yaw want_pitch=$try_pitch aim="$ax $ay $az"
        fi
    done
    [ "$best" -le 200 ] || [ "$attempt" -gt 8 ] || continue
    look "$want_yaw" "$want_pitch" || die "could not turn the view"
    echo "aiming at $aim (yaw $want_yaw, pitch $want_pitch, $best% of the look distance)"
    for _ in $(seq 150); do
        xdotool key --delay 30 space space space
        shot "$frames/$(printf %04d $n).png"
        n=$((n + 1))
        [ "$(count '^Score: ')" -gt "$kills" ] && break 2
    done
done
[ "$(count '^Score: ')" -gt "$kills" ] || die "no missile was shot down"
kill_frame=$((n - 1))
for _ in $(seq 24); do
    shot "$frames/$(printf %04d $n).png"
    n=$((n + 1))
done
cp "$frames/$(printf %04d $((kill_frame - 8))).png" "$outdir/play.png"
cp "$frames/$(printf %04d $((kill_frame + 2))).png" "$outdir/explosion.png"
echo "play.png explosion.png"

# The animated picture: the last seconds before the kill and the explosion.
first=$((kill_frame > 20 ? kill_frame - 20 : 0))
gif_frames=()
for ((i = first; i < n; i++)); do gif_frames+=("$frames/$(printf %04d $i).png"); done
convert -delay 15 -loop 0 "${gif_frames[@]}" -resize 480x384 -fuzz 2% -layers Optimize "$gif"
echo "$gif ($(stat -c %s "$gif") bytes, ${#gif_frames[@]} frames)"

# Fly into the planet: the population is gone and the game-over lines show
# in red (they sit around y 520 to 560 from the top).
read -r want_yaw want_pitch _ <<<"$(angles_toward -50 50 50)"
look "$want_yaw" "$want_pitch" || die "could not turn the view"
for _ in $(seq 12); do xdotool key --delay 5 w w w w w w w w w w; done
red() {
    convert "$1" -crop 600x120+200+460 +repage -fx '(r > 0.5 && g < 0.3 && b < 0.3) ? 1 : 0' \
        -format '%[fx:mean > 0.002]' info:
}
for _ in $(seq 90); do
    shot "$work/now.png"
    [ "$(red "$work/now.png")" = 1 ] && break
    sleep 0.5
done
[ "$(red "$work/now.png")" = 1 ] || die "no game-over screen after flying into the planet"
for _ in $(seq 12); do xdotool key --delay 5 s s s s s s s s s s; done
sleep 1
shot "$outdir/gameover.png"
echo "gameover.png"

xdotool key q
wait "$pid"
pid=
echo "screenshots in $outdir"
