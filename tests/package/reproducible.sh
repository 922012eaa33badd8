#!/usr/bin/env bash
# Builds the binary packages a second time from the first build's source
# package, unpacked at another path, under another umask, time zone and
# locale, with the clock a day ahead: every .deb must be the same bytes as the
# first build's.
#   reproducible.sh FIRST_PACKAGE_DIR WORK_DIR
set -uo pipefail
shopt -s nullglob
first=$1 work=$2
fail() { echo "FAIL: $*"; exit 1; }
command -v faketime >/dev/null || fail "faketime is not installed (scripts/install-deps.sh test)"
rm -rf "$work"
mkdir -p "$work/elsewhere/second-build"
second=$work/elsewhere/second-build
dscs=("$first"/quorvane_*.dsc)
[[ ${#dscs[@]} -eq 1 ]] || fail "no single source package in $first"
(umask 077 && export TZ=XYZ-14 LC_ALL=C LANG=C DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" &&
    dpkg-source -x "${dscs[0]}" "$second/source" && cd "$second/source" &&
    faketime -f +1d dpkg-buildpackage -us -uc -b) >"$work.log" 2>&1 ||
    { tail -n 40 "$work.log"; fail "the second build failed (whole log in $work.log)"; }
debs=("$first"/*.deb)
[[ ${#debs[@]} -ge 1 ]] || fail "the first build left no .deb in $first"
[[ $(ls "$second"/*.deb | wc -l) -eq ${#debs[@]} ]] || fail "the builds made different packages: $(ls "$first" "$second")"
for deb in "${debs[@]}"; do
    other=$second/${deb##*/}
    if ! cmp "$deb" "$other"; then
        command -v diffoscope >/dev/null && diffoscope --text - "$deb" "$other" | head -n 80
        fail "${deb##*/} differs between the two builds"
    fi
    echo "same bytes: ${deb##*/} ($(sha256sum <"$deb" | cut -c1-16))"
done
echo "PASS"
