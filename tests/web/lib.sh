# What every page test shares: the browser build's packages (missing ones
# skip the test, and fail it under CI), a scratch folder, a server for the
# built page ($site) on a free port of 127.0.0.1, and `pages`, which drives
# the pages.
# With `build`, it only builds the page, once for every page test.
#   source lib.sh SOURCE_DIR PAGE_DIR [build]
set -euo pipefail
source_dir=$1
page_dir=$2
source "$source_dir/tests/support/skip.sh"
"$source_dir/scripts/install-deps.sh" web || skip "cannot install the browser build's packages"
command -v Xvfb > /dev/null || skip "Xvfb is not installed (scripts/install-deps.sh test)"
node --experimental-websocket -e 'if (typeof WebSocket !== "function") process.exit(1)' 2>/dev/null ||
    skip "node has no WebSocket client (Node 20.10 or later has one)"
if [ "${3:-}" = build ]; then
    "$source_dir/web/build.sh" "$page_dir"
    exit 0
fi
[ -f "$page_dir/quorvane.wasm" ] || { echo "no page in $page_dir: web_page_build builds it"; exit 1; }

work=$(mktemp -d)
# The page as served: links to the built files, beside which a test puts
# files of its own (or a new build's) without touching the build.
site=$work/site
mkdir "$site"
ln -s "$page_dir"/* "$site/"
server=
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
source "$source_dir/scripts/serve-page.sh"
serve_page "$site" "$work/server.log"

# One browser for the pages, one JSON line each: ACTIONS (or -) QUERY...
# With GL=mesa it draws through Mesa, on an X display of its own.
pages() {
    local actions=$1 urls=() display=()
    shift
    for query in "$@"; do urls+=("http://127.0.0.1:$port/index.html$query"); done
    [ "${GL:-}" = mesa ] && display=(bash "$source_dir/tests/support/own_display.sh")
    "${display[@]}" node --experimental-websocket "$source_dir/tests/web/drive.mjs" /usr/bin/chromium-headless-shell \
        "$(mktemp -d "$work/profile.XXXXXX")" "$actions" "${urls[@]}" || exit 1  # own_display's skip too: Xvfb was checked above
}
