#!/usr/bin/env bash
# Builds the Debian package under a strict umask and runs lintian on it: no
# errors and no warnings.
#   lintian_test.sh BUILD_DIR
set -uo pipefail
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(umask 077 && cpack -G DEB --config "$1/CPackConfig.cmake" -B "$work") || fail "cpack could not build the package"
lintian --allow-root --fail-on error,warning "$work"/quorvane_*.deb || fail "lintian found errors or warnings"
echo "PASS"
