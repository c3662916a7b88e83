#!/bin/bash
# Builds the Debian package from a clean copy of the source tree (its tracked
# and new files, none of its build folders), as dpkg-buildpackage would from
# a fresh clone, and leaves corvale_<version>_<arch>.deb in the output folder.
#   build_package.sh SOURCE_DIR OUTPUT_DIR [ASSETS_FROM]
# With ASSETS_FROM, a build folder of the same sources whose tests run apart,
# the package takes that build's assets instead of generating them again and
# is built without its unit tests (the test suite runs them itself), without
# the separate debug-symbols package, and packed with gzip at its fastest
# instead of xz: the same files, in less time.
set -euo pipefail
src=$1
out=$2
options="parallel=$(nproc)"
if [ -n "${3:-}" ]; then
  export CORVALE_ASSETS_FROM="$3"
  options="$options nocheck noautodbgsym"
  export DPKG_DEB_COMPRESSOR_TYPE=gzip DPKG_DEB_COMPRESSOR_LEVEL=1
fi
rm -rf "$out"
mkdir -p "$out/src"
git -C "$src" ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do
    [ -e "$src/$f" ] && printf '%s\0' "$f"
  done | (cd "$src" && xargs -0 cp -a --parents -t "$out/src")
cd "$out/src"
DEB_BUILD_OPTIONS="$options" dpkg-buildpackage -b -us -uc
