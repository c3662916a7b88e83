#!/bin/bash
# Installs what is missing, builds the game folder and starts the game or runs the tests.
#   ./corvale.sh play      install what building and playing need, build, start the game
#   ./corvale.sh test      the same plus the test tools and clang, build with the tests,
#                          run every test, then everything sanitize does (what CI runs)
#   ./corvale.sh sanitize  the test tools plus clang, build the tests with the sanitizers
#                          (build-san/, without the benchmarks), run them, then every fuzz
#                          target over its seeds and for CORVALE_FUZZ_SECONDS (default 10)
#                          seconds, CORVALE_FUZZ_JOBS (default 2) targets at a time
#   ./corvale.sh fuzz N    the sanitizer build's fuzz targets only, then every target
#                          fuzzed for N minutes, one per core at once, under nice;
#                          prints each target's executions, coverage and findings
#   ./corvale.sh build     install everything but clang and build only
#   ./corvale.sh package   install the packaging tools and build dependencies, build
#                          the Debian package corvale_<version>_<arch>.deb in the parent
#                          folder with dpkg-buildpackage, and check it with lintian
set -euo pipefail
cd "$(dirname "$0")"

# What building needs: compiler and build tools, and the libraries of the game,
# the setup program (GTK) and the asset generators (cairo, libvorbis).
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config
  libsdl2-dev libgl-dev libglu1-mesa-dev libpng-dev libfreetype-dev libfontconfig-dev
  libopenal-dev libasound2-dev libsndfile1-dev libvorbis-dev libogg-dev
  libcairo2-dev libgtk-3-dev)
# What playing needs besides the libraries above: Mesa's OpenGL drivers, the
# game's text font, and the X server's core fonts, which SDL's message boxes
# draw their text with (without them the setup program shows the boxes).
PLAY_PACKAGES=(libgl1-mesa-dri fonts-liberation xfonts-base)
# What the tests and benchmarks add: GoogleTest, Google Benchmark, a virtual X
# server with input and window tools (the tests take their screenshots through
# Xlib themselves), and the desktop validators.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev libx11-dev libxdamage-dev xvfb xdotool x11-utils
  desktop-file-utils appstream)
# What the sanitizer build and the fuzz targets add: clang with its runtimes
# and llvm-symbolizer for readable reports.
SANITIZE_PACKAGES=(clang-14 libclang-rt-14-dev llvm-14)

# What building the Debian package adds: debhelper and lintian, and the
# libraries the unit tests link, as debian/control lists them.
PACKAGE_PACKAGES=(debhelper dpkg-dev lintian libgtest-dev libx11-dev libxdamage-dev xvfb)

# Installs the packages of the given lists that are missing, without the
# packages they merely recommend. Without root and without sudo it prints the
# command to run as root and stops.
install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local cmd="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    bash -c "$cmd"
  elif command -v sudo >/dev/null 2>&1; then
    echo "Installing (through sudo): ${missing[*]}"
    sudo bash -c "$cmd"
  else
    echo "These packages are missing: ${missing[*]}" >&2
    echo "Run this as root, then run $0 again:" >&2
    echo "  $cmd" >&2
    exit 1
  fi
}

# Compiles through ccache when it is installed: a build of sources compiled
# before (a removed build folder, a clone in the same place) takes the cached
# objects. CMake reads these when it configures a build folder, the package's
# included.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi

# Tests ctest runs at once: twice the cores, since an end-to-end test spends
# most of its time waiting for the game's next frame (62 a second) and uses
# about a third of a core.
test_jobs() {
  echo $(( 2 * $(nproc) ))
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVALE_TESTS="$1" \
    -DCORVALE_WERROR="${CORVALE_WERROR:-OFF}" >/dev/null
  cmake --build build
}

# Configures build-san/: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer and the fuzz targets, without the benchmarks
# (they measure the normal build); the assets are those of build/ when it is
# there.
configure_sanitizer_build() {
  local assets_from=""
  [ -f build/CMakeCache.txt ] && assets_from="$PWD/build"
  CC=clang-14 CXX=clang++-14 cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVALE_FUZZ=ON -DCORVALE_BENCH=OFF -DCORVALE_ASSETS_FROM="$assets_from" \
    -DCORVALE_WERROR="${CORVALE_WERROR:-OFF}" >/dev/null
}

# The tests again in the sanitizer build, then its fuzz targets. The asset and
# install tests are left out: they run no game code.
sanitizer_test() {
  configure_sanitizer_build
  cmake --build build-san
  # Without times of its own, the pass takes the normal build's, so that the
  # longest of the tests without a set cost (the end-to-end ones have one)
  # start first here too.
  if [ -f build/Testing/Temporary/CTestCostData.txt ] &&
     [ ! -f build-san/Testing/Temporary/CTestCostData.txt ]; then
    mkdir -p build-san/Testing/Temporary
    cp build/Testing/Temporary/CTestCostData.txt build-san/Testing/Temporary/
  fi
  (cd build-san && ctest -j"$(test_jobs)" -LE '^(assets|install)$' --output-on-failure --timeout 900)
  CORVALE_FUZZ_JOBS="${CORVALE_FUZZ_JOBS:-2}" tests/fuzz/run_fuzz.sh build-san "${CORVALE_FUZZ_SECONDS:-10}"
}

# Builds the fuzz targets under the sanitizers (build-san/) and fuzzes every
# target for $1 minutes, as many at once as there are cores. New inputs stay
# in build-san/fuzz-corpus/, findings in build-san/fuzz-findings/.
fuzz() {
  local minutes="$1"
  case "$minutes" in ''|*[!0-9]*) echo "usage: $0 fuzz <minutes>" >&2; exit 2 ;; esac
  configure_sanitizer_build
  cmake --build build-san --target fuzz_targets
  CORVALE_FUZZ_JOBS="$(nproc)" CORVALE_FUZZ_ALL=1 tests/fuzz/run_fuzz.sh build-san $((minutes * 60))
}

case "${1:-play}" in
  play)
    install_missing "${BUILD_PACKAGES[@]}" "${PLAY_PACKAGES[@]}"
    build OFF
    exec build/corvale/corvale ;;
  test)
    install_missing "${BUILD_PACKAGES[@]}" "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}" \
      "${SANITIZE_PACKAGES[@]}"
    build ON
    (cd build && ctest -j"$(test_jobs)" --output-on-failure --timeout 900)
    sanitizer_test ;;
  sanitize)
    install_missing "${BUILD_PACKAGES[@]}" "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}" \
      "${SANITIZE_PACKAGES[@]}"
    sanitizer_test ;;
  fuzz)
    install_missing "${BUILD_PACKAGES[@]}" "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}" \
      "${SANITIZE_PACKAGES[@]}"
    fuzz "${2:-}" ;;
  build)
    install_missing "${BUILD_PACKAGES[@]}" "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    build ON ;;
  package)
    install_missing "${BUILD_PACKAGES[@]}" "${PLAY_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
    dpkg-buildpackage -b -us -uc
    version=$(dpkg-parsechangelog -S Version)
    lintian --fail-on error "../corvale_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"
    echo "Built ../corvale_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb" ;;
  *)
    echo "usage: $0 play|test|sanitize|fuzz N|build|package" >&2; exit 2 ;;
esac
