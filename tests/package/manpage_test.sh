#!/usr/bin/env bash
# The manual page renders at 80 columns without a warning, and its OPTIONS
# section describes exactly the options that --help lists.
#   manpage_test.sh GAME MANPAGE
set -uo pipefail
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
LC_ALL=C MANWIDTH=80 man --warnings -l "$2" >/dev/null 2>"$work/warnings" || fail "man cannot render $2"
[[ -s $work/warnings ]] && fail "man warns: $(cat "$work/warnings")"

"$1" --help | grep -oE '^  -{1,2}[a-z]+(-[a-z]+)*' | tr -d ' ' | sort >"$work/help"
# the tag line after each .TP in OPTIONS, such as `.BI \-\-record " file"`
zcat "$2" | awk '/^\.SH/ { on = ($2 == "OPTIONS") } on && last == ".TP" { print $2 } { last = $0 }' |
    grep -oE '^(\\-)+[a-z]+(\\-[a-z]+)*' | tr -d '\\' | sort >"$work/page"
[[ -s $work/help ]] || fail "--help lists no option"
diff "$work/help" "$work/page" || fail "--help (<) and the manual page (>) list different options"
echo "PASS"
