#!/usr/bin/env bash
# The AppStream metadata and the desktop entry validate, and --version, the
# Debian changelog's latest entry, the metadata's release and the manual page
# carry one version and date.
#   metadata_test.sh GAME DIST_BUILD_DIR DESKTOP_ENTRY DEBIAN_CHANGELOG VERSION DATE
set -uo pipefail
game=$1 dist=$2 desktop=$3 changelog=$4 version=$5 date=$6
fail() { echo "FAIL: $*"; exit 1; }
metainfo=$dist/org.quorvane.Quorvane.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metadata"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"

[[ $("$game" --version) == "quorvane $version" ]] || fail "--version does not say quorvane $version"
grep -qF "<release version=\"$version\" date=\"$date\"/>" "$metainfo" || fail "the metadata's release is not $version of $date"
# the package's own revision follows the game's version: 0.1-1, 0.1-2, ...
entry=$(dpkg-parsechangelog -l "$changelog" -S Version)
[[ ${entry%-*} == "$version" ]] || fail "debian/changelog's latest entry is $entry, not of version $version"
entry=$(dpkg-parsechangelog -l "$changelog" -S Date)
[[ $(date -u -d "$entry" +%F) == "$date" ]] || fail "debian/changelog's latest entry is dated $entry, not $date"
zcat "$dist/quorvane.6.gz" | head -n 1 | grep -qxF ".TH QUORVANE 6 \"$date\" \"quorvane $version\" \"Games\"" ||
    fail "the manual page's title line is not of $version and $date"
echo "PASS"
