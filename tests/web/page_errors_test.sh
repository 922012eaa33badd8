#!/usr/bin/env bash
# What the player sees when a recording cannot play, each at once: a replay of
# a missing file, of a file that is not a recording, `?dropped` with nothing
# kept; and a recording whose header asks for a window larger than any
# screen, which plays to its last line and saves its last frame.
#   page_errors_test.sh SOURCE_DIR PAGE_DIR
source "$(dirname "$0")/lib.sh" "$1" "$2"
huge=huge-window.qvr
{
    echo "quorvane-recording 1 game 0.1 window 32767 32767"
    sed -n '2,200p' "$source_dir/tests/game/session.qvr"
} > "$site/$huge"
PAGE_SECONDS=120 pages - "?replay=missing.qvr" "?replay=page.js" "?dropped" "?timedemo=$huge&shots=last" > "$work/pages.json"
python3 - "$work/pages.json" "$source_dir/tests/game/session_expected.txt" <<'PY'
import json, sys
missing, not_recording, dropped, huge = (json.loads(line) for line in open(sys.argv[1]))
expected = open(sys.argv[2]).read()
failures = []
def refused(name, page, words):
    if page['exitStatus'] in (None, 0) or not page['error'] or words not in page['error'] or page['notice'] != page['error']:
        failures.append(f"{name}: status {page['exitStatus']}, the notice says {page['notice']!r}, "
                        f"the error {page['error']!r}; wanted {words!r} on both")
refused('a missing file', missing, 'Cannot load missing.qvr: 404')
refused('not a recording', not_recording, 'quorvane: /replay.qvr:1: not a quorvane recording')
refused('nothing dropped', dropped, 'Cannot load the dropped recording: it is no longer kept')
printed = ''.join(line + '\n' for line in huge['stdout'])
if (huge['exitStatus'] != 0 or huge['error'] is not None or not printed or not expected.startswith(printed)
        or f'/replay.qvr ends early at line 200' not in huge['stderr']):
    failures.append(f"a 32767-pixel header: status {huge['exitStatus']}, {huge['error']!r}, printed:\n{printed}")
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
PY
