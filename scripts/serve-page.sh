# Serves a built page on a free port of 127.0.0.1, for the page's tests and
# its benchmark: `serve_page DIR LOG` starts Python's server on DIR, logging
# to LOG, and sets `server` (its process, for the caller to stop) and `port`.
#   source serve-page.sh
serve_page() {
    : > "$2"  # there before the server writes, for the first look
    python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$1" > "$2" 2>&1 &
    server=$!
    port=
    for _ in $(seq 200); do
        port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$2" | head -n1)
        [ -n "$port" ] && return
        kill -0 "$server" || { cat "$2"; exit 1; }
        sleep 0.05
    done
    echo "the server named no port"
    exit 1
}
