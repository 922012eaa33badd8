#!/usr/bin/env bash
# Builds the Debian source and binary packages from a copy of this tree, so
# that nothing is written beside the working tree.
#   scripts/build-package.sh OUT [dpkg-buildpackage option]...
# OUT receives quorvane_VERSION.orig.tar.xz, the .dsc, .debian.tar.xz,
# .deb, -dbgsym .deb, .buildinfo and .changes, and the copy itself in
# OUT/quorvane-VERSION. Without options it is a full build (source and
# binary); `-b` builds the binary packages only.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
shift

version=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
upstream=${version%-*}
date=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Timestamp)
tree=$out/quorvane-$upstream
rm -rf "$tree"
mkdir -p "$tree"

# The tree's files: what git tracks or would track, or, outside a checkout,
# everything but build folders.
files=$out/files
if git -C "$top" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$top" ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do [[ -e $top/$f ]] && printf '%s\0' "$f"; done >"$files"
else
    (cd "$top" && find . -path './build*' -prune -o -path ./.git -prune -o \( -type f -o -type l \) -print0) >"$files"
fi
tar -C "$top" --null -T "$files" -cf - | tar -C "$tree" -xf -
rm "$files"

# The upstream tarball, from the copy (the working tree may change meanwhile):
# everything but debian/, in name order, with owner, modes and times that do
# not depend on the checkout.
(cd "$out" && find "${tree##*/}" -path "${tree##*/}/debian" -prune -o ! -type d -print0 | sort -z |
    tar --no-recursion --owner=0 --group=0 --numeric-owner --mode=go=rX,u+rw --mtime="@$date" \
        --format=gnu --null -T - -cf - | xz -6 >"quorvane_$upstream.orig.tar.xz")

cd "$tree"
dpkg-buildpackage -us -uc "$@"
