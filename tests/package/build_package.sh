#!/bin/bash
# Builds the Debian package from a clean copy of the source tree (its tracked
# and new files, none of its build folders), as dpkg-buildpackage would from
# a fresh clone, and leaves corvale_<version>_<arch>.deb in the output folder.
#   build_package.sh SOURCE_DIR OUTPUT_DIR
set -euo pipefail
src=$1
out=$2
rm -rf "$out"
mkdir -p "$out/src"
git -C "$src" ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do
    [ -e "$src/$f" ] && printf '%s\0' "$f"
  done | (cd "$src" && xargs -0 cp -a --parents -t "$out/src")
cd "$out/src"
DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -b -us -uc
