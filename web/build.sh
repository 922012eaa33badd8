#!/usr/bin/env bash
# Builds the page into build-web/ (or $1): quorvane.js, .wasm, .data and the
# page itself. Needs Debian's emscripten (scripts/install-deps.sh web).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-web}
# emcc's JavaScript tools need Debian's node modules (acorn), whatever node
# is first on the PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S "$root/web" -B "$out" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$out" -j "${JOBS:-2}"
