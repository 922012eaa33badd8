#!/usr/bin/env bash
# Installs the Debian packages that are missing for building and running the
# game ("run"), also for its tests ("test"), or for the browser build and its
# test in headless Chromium ("web"). Touches nothing when all are present.
set -euo pipefail

run_packages=(cmake g++ make freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libopenal-dev)
test_packages=(libgtest-dev libbenchmark-dev xvfb xauth xdotool libfreetype-dev fonts-dejavu-core clang libclang-rt-14-dev libpng-dev imagemagick dpkg-dev desktop-file-utils lintian appstream man-db valgrind
               debhelper fakeroot autopkgtest faketime diffoscope-minimal)
web_packages=(emscripten cmake make python3 chromium-headless-shell imagemagick)

case "${1:-run}" in
    run)  wanted=("${run_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
    web)  wanted=("${web_packages[@]}") ;;
    *)    echo "usage: $0 [run|test|web]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
