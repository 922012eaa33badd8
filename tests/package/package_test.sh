#!/usr/bin/env bash
# Builds the Debian package under a strict umask, runs lintian on it (no
# errors, no warnings), checks its files and dependencies, unpacks it into a
# throwaway root and starts the unpacked game from an unrelated folder: it
# must find its images there and keep running, and replay the demo.
#   package_test.sh BUILD_DIR SOURCE_DIR
# Nothing is installed on the machine.
set -uo pipefail
shopt -s nullglob
build=$(realpath "$1")
source_dir=$(realpath "$2")
command -v dpkg-deb >/dev/null || { echo "SKIP: dpkg-deb is not installed"; exit 77; }
source "$(dirname "$0")/../e2e/lib.sh"

(umask 077 && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out") >"$out" 2>&1 ||
    fail "cpack could not build the package"
debs=("$work"/out/quorvane_*.deb)
[[ -f ${debs[0]} ]] || fail "no quorvane_*.deb in $(ls "$work/out")"
deb=${debs[0]}
lintian --allow-root --fail-on error,warning "$deb" >"$out" 2>&1 || fail "lintian found errors or warnings"

# --- the files: the game, the desktop entry, the icons and every image -------
files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
# nothing outside /usr, nothing from the build tree, the game in /usr/games
grep -v '^/usr/' <<<"$files" | grep -vx '/' && fail "files outside /usr"
grep -E 'CMake|\.o$|/build/|^/usr/bin/' <<<"$files" && fail "build files or /usr/bin in the package"
root=$work/root
dpkg-deb -x "$deb" "$root"
[[ -x $root/usr/games/quorvane ]] || fail "the package lacks /usr/games/quorvane"
for data in "$source_dir"/textures/*.{bmp,qvr}; do
    cmp -s "$data" "$root/usr/share/games/quorvane/textures/${data##*/}" || fail "the package lacks ${data##*/} or changed it"
done
for data in "$source_dir"/sounds/*.wav; do
    cmp -s "$data" "$root/usr/share/games/quorvane/sounds/${data##*/}" || fail "the package lacks ${data##*/} or changed it"
done
[[ -s $root/usr/share/metainfo/org.quorvane.Quorvane.metainfo.xml ]] || fail "the package lacks its AppStream metadata"
desktop=$root/usr/share/applications/org.quorvane.Quorvane.desktop
grep -qx 'Exec=quorvane' "$desktop" || fail "the desktop entry does not start the installed command"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "the desktop entry is not in Game;ArcadeGame;"
grep -qx 'Icon=quorvane' "$desktop" || fail "the desktop entry names no icon"
for size in 64 256; do
    header=$(od -An -tx1 -N24 "$root/usr/share/icons/hicolor/${size}x$size/apps/quorvane.png" | tr -d ' \n')
    [[ ${header:0:16} == 89504e470d0a1a0a ]] || fail "the $size icon is not a PNG"
    [[ $((16#${header:32:8})) -eq $size && $((16#${header:40:8})) -eq $size ]] ||
        fail "the $size icon is not $size x $size"
done

# --- the control data ------------------------------------------------------
depends=$(dpkg-deb -f "$deb" Depends)
# the package names alone, one a line, without versions
depends=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/ //g')
for library in libgl1 libglu1-mesa libglut3.12 libopengl0 libopenal1 libstdc++6 libc6; do
    grep -qxF "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
[[ $(dpkg-deb -f "$deb" Package) == quorvane ]] || fail "the package is not called quorvane"
[[ $(dpkg-deb -f "$deb" Architecture) == "$(dpkg --print-architecture)" ]] || fail "wrong architecture"
# every dependency resolves on this Debian (a dry run changes nothing)
apt-get -s install "$deb" >"$out" 2>&1 || fail "apt cannot resolve the package's dependencies"
grep -q '^Inst quorvane' "$out" || fail "apt would not install the package"

# --- a plain install: bin/, and the data where the game looks from bin/ -----
cmake --install "$build" --prefix "$work/plain" >"$out" 2>&1 || fail "cmake --install failed"
cmp -s "$work/plain/bin/quorvane" "$build/quorvane" || fail "a plain install lacks bin/quorvane"
[[ -f $work/plain/share/games/quorvane/textures/Planet.bmp ]] || fail "a plain install puts the images elsewhere"
[[ -e $work/plain/games || -e $work/plain/share/doc ]] && fail "a plain install holds the package's games/ or doc/"

# --- the unpacked game, from an unrelated folder ----------------------------
game=$root/usr/games/quorvane
mkdir "$work/elsewhere"
start_game "$work/elsewhere"
sleep 2
alive || fail "the unpacked game ended by itself"
grep -q 'File Not Found' "$out" && fail "the unpacked game did not find its images"
if [[ -f $source_dir/textures/demo.qvr ]]; then
    kill "$pid"
    (cd "$work/elsewhere" && exec "$game" --replay) >"$out" 2>&1 || fail "the installed demo does not replay from an unrelated folder"
else
    echo "SKIP: no textures/demo.qvr in the source tree yet, so the installed demo's replay is not checked"
fi
echo "PASS"
