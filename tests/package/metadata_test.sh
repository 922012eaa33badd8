#!/usr/bin/env bash
# The AppStream metadata and the desktop entry validate, and --version, the
# changelog, the metadata's release and the manual page carry one version and
# date.
#   metadata_test.sh GAME DIST_BUILD_DIR DESKTOP_ENTRY VERSION DATE
set -uo pipefail
game=$1 dist=$2 desktop=$3 version=$4 date=$5
fail() { echo "FAIL: $*"; exit 1; }
metainfo=$dist/org.quorvane.Quorvane.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metadata"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"

[[ $("$game" --version) == "quorvane $version" ]] || fail "--version does not say quorvane $version"
grep -qF "<release version=\"$version\" date=\"$date\"/>" "$metainfo" || fail "the metadata's release is not $version of $date"
changelog=$(zcat "$dist/changelog.gz")
[[ $changelog == "quorvane ($version) "* ]] || fail "the changelog starts with another version: $changelog"
grep -qx " -- .*  $(date -u -R -d "$date")" <<<"$changelog" || fail "the changelog is not dated $date: $changelog"
zcat "$dist/quorvane.6.gz" | head -n 1 | grep -qxF ".TH QUORVANE 6 \"$date\" \"quorvane $version\" \"Games\"" ||
    fail "the manual page's title line is not of $version and $date"
echo "PASS"
