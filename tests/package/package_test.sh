#!/usr/bin/env bash
# The packages that scripts/build-package.sh built: lintian finds no error and
# no warning in the source or the binary package (its pedantic findings are
# printed), and the binary holds the game in /usr/games, every image, sound
# and the demo byte for byte, the desktop entry, icons and metadata, and
# depends on the libraries the game links. A plain install keeps bin/.
#   package_test.sh PACKAGE_DIR SOURCE_DIR BUILD_DIR
set -uo pipefail
shopt -s nullglob
packages=$1 source_dir=$2 build=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
debs=("$packages"/quorvane_*.deb)
changes=("$packages"/quorvane_*.changes)
[[ ${#debs[@]} -eq 1 && ${#changes[@]} -eq 1 ]] || fail "no single quorvane_*.deb and .changes in $packages"
deb=${debs[0]}

lintian --pedantic --allow-root --fail-on error,warning "${changes[0]}" || fail "lintian found errors or warnings"

# --- the files ---------------------------------------------------------------
files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
grep -v '^/usr/' <<<"$files" | grep -vx '/' && fail "files outside /usr"
grep -E 'CMake|\.o$|/build/|^/usr/bin/' <<<"$files" && fail "build files or /usr/bin in the package"
root=$work/root
dpkg-deb -x "$deb" "$root"
[[ -x $root/usr/games/quorvane ]] || fail "the package lacks /usr/games/quorvane"
for data in "$source_dir"/textures/*.{bmp,qvr} "$source_dir"/sounds/*.wav; do
    folder=${data%/*}
    cmp -s "$data" "$root/usr/share/games/quorvane/${folder##*/}/${data##*/}" || fail "the package lacks ${data##*/} or changed it"
done
[[ -s $root/usr/share/metainfo/org.quorvane.Quorvane.metainfo.xml ]] || fail "the package lacks its AppStream metadata"
[[ -s $root/usr/share/man/man6/quorvane.6.gz ]] || fail "the package lacks its manual page"
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

# --- the control data: the package names alone, one a line -----------------
depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g')
for library in libglx0 libglu1-mesa libglut3.12 libopengl0 libopenal1 libstdc++6 libc6; do
    grep -qxF "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
[[ $(dpkg-deb -f "$deb" Architecture) == "$(dpkg --print-architecture)" ]] || fail "wrong architecture"

# --- a plain install: bin/, and the data where the game looks from bin/ -----
cmake --install "$build" --prefix "$work/plain" >"$work/log" 2>&1 || { cat "$work/log"; fail "cmake --install failed"; }
cmp -s "$work/plain/bin/quorvane" "$build/quorvane" || fail "a plain install lacks bin/quorvane"
[[ -f $work/plain/share/games/quorvane/textures/Planet.bmp ]] || fail "a plain install puts the images elsewhere"
[[ -e $work/plain/games || -e $work/plain/share/doc ]] && fail "a plain install holds the package's games/ or doc/"
echo "PASS"
