#!/usr/bin/env bash
# Runs the package's autopkgtest (debian/tests) on this machine with the null
# runner: the .deb is installed for real, tested, and removed again unless it
# was installed before. One run at a time on the machine, whichever build's
# suite starts it, since each installs the same package.
#   autopkgtest.sh SOURCE_TREE DEB
set -uo pipefail
tree=$1 deb=$2
source "$(dirname "$0")/../support/skip.sh"
[[ $(id -u) -eq 0 ]] || skip "the null runner installs the package, which needs root"
exec 9>/run/lock/quorvane-autopkgtest.lock
flock -w 1800 9 || { echo "FAIL: another run of the autopkgtest held the lock for 30 minutes"; exit 1; }
# apt waits for another install on the machine to finish instead of failing.
conf=$(mktemp)
trap 'rm -f "$conf"' EXIT
echo 'DPkg::Lock::Timeout "600";' >"$conf"
export APT_CONFIG=$conf
installed=$(dpkg-query -W -f '${Status}' quorvane 2>/dev/null)
autopkgtest --no-built-binaries "$tree" "$deb" -- null
status=$?
[[ $installed == "install ok installed" ]] || dpkg --purge quorvane >/dev/null
[[ $status -eq 0 ]] || { echo "FAIL: autopkgtest ended with status $status"; exit 1; }
echo "PASS"
