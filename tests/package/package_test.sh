#!/usr/bin/env bash
# Builds the Debian package, checks its file list and dependencies, unpacks
# it into a throwaway root and starts the unpacked game from an unrelated
# directory: it must find its images there and keep running.
#   package_test.sh BUILD_DIR
# Nothing is installed on the machine; the scratch root is removed.
set -uo pipefail

build=$(realpath "$1")
command -v dpkg-deb >/dev/null || { echo "skipped: dpkg-deb is not installed"; exit 77; }
if [[ -z ${DISPLAY:-} ]]; then
    echo "skipped: needs an X display (run under xvfb-run)"
    exit 77
fi

scratch=$(mktemp -d)
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "FAIL: cpack could not build the package"
    exit 1
fi
debs=("$scratch"/out/quorvane_*.deb)
[[ -f ${debs[0]} ]] || { echo "FAIL: no quorvane_*.deb in $(ls "$scratch/out")"; exit 1; }
deb=${debs[0]}
echo "built ${deb##*/} ($(stat -c %s "$deb") bytes)"

# --- the file list ---------------------------------------------------------
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$scratch/files"
expected=(
    /usr/bin/quorvane
    /usr/share/applications/quorvane.desktop
    /usr/share/icons/hicolor/64x64/apps/quorvane.png
    /usr/share/icons/hicolor/256x256/apps/quorvane.png
)
for image in Font Planet atm clouds crosshair7 gasplanet logo nebula particlewhite portal1 portal2 \
             smoke smoke2 smoke3 stars text; do
    expected+=("/usr/share/quorvane/textures/$image.bmp")
done
for path in "${expected[@]}"; do
    grep -qx "$path" "$scratch/files" || fail "the package lacks $path"
done
# nothing outside /usr, nothing from the build tree
grep -v '^/usr/' "$scratch/files" | grep -vx '/' && fail "files outside /usr"
grep -E 'CMake|\.o$|/build/' "$scratch/files" && fail "build files in the package"

# --- the control data ------------------------------------------------------
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# the package names alone, one a line, without versions
tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/ //g' | sort -u >"$scratch/depends"
for library in libgl1 libglu1-mesa libglut3.12 libopengl0 libstdc++6 libc6; do
    grep -qxF "$library" "$scratch/depends" || fail "Depends lacks $library"
done
[[ $(dpkg-deb -f "$deb" Package) == quorvane ]] || fail "the package is not called quorvane"
[[ $(dpkg-deb -f "$deb" Architecture) == "$(dpkg --print-architecture)" ]] || fail "wrong architecture"
# every dependency resolves on this Debian (a dry run changes nothing)
if apt-get -s install "$deb" >"$scratch/apt.log" 2>&1; then
    grep -q '^Inst quorvane' "$scratch/apt.log" || fail "apt would not install the package: $(tail -3 "$scratch/apt.log")"
else
    fail "apt cannot resolve the package's dependencies: $(tail -3 "$scratch/apt.log")"
fi

# --- the unpacked game ------------------------------------------------------
root=$scratch/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/quorvane.desktop
grep -qx 'Exec=quorvane' "$desktop" || fail "the desktop entry does not start the installed command"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "the desktop entry is not in Game;ArcadeGame;"
grep -qx 'Icon=quorvane' "$desktop" || fail "the desktop entry names no icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
fi
for size in 64 256; do
    icon=$root/usr/share/icons/hicolor/${size}x$size/apps/quorvane.png
    header=$(od -An -tx1 -N24 "$icon" | tr -d ' \n')
    [[ ${header:0:16} == 89504e470d0a1a0a ]] || fail "the $size icon is not a PNG"
    [[ $((16#${header:32:8})) -eq $size && $((16#${header:40:8})) -eq $size ]] ||
        fail "the $size icon is not $size x $size"
done

mkdir "$scratch/elsewhere"
cd "$scratch/elsewhere"
"$root/usr/bin/quorvane" >"$scratch/out.txt" 2>&1 &
pid=$!
# running for three seconds with its window up means every image loaded
for _ in $(seq 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    fail "the unpacked game ended with status $? from $PWD: $(head -c 300 "$scratch/out.txt")"
    pid=
fi
grep -q 'File Not Found' "$scratch/out.txt" && fail "the unpacked game did not find its images"

[[ $failed -eq 0 ]] && echo "PASS: package file list, dependencies and unpacked game"
exit $failed
