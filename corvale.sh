#!/bin/bash
# Installs what is missing, builds the game folder and starts the game or runs the tests.
#   ./corvale.sh play    install, build, start the game
#   ./corvale.sh test    install, build, run every test
#   ./corvale.sh sanitize install, build the tests with the sanitizers (build-san/),
#                        run them, then every fuzz target over its seeds and for
#                        CORVALE_FUZZ_SECONDS (default 30) seconds
#   ./corvale.sh build   install and build only
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake ninja-build pkg-config libsdl2-dev libgl-dev libglu1-mesa-dev
  libgl1-mesa-dri libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev
  fonts-liberation libopenal-dev libopenal1 libsndfile1-dev libvorbis-dev libogg-dev libcairo2-dev libgtk-3-dev
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-utils imagemagick
  clang-14 libclang-rt-14-dev llvm-14)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build
}

# The tests again, built by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the fuzz targets of the same build.
sanitizer_test() {
  CC=clang-14 CXX=clang++-14 cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVALE_FUZZ=ON >/dev/null
  cmake --build build-san
  (cd build-san && ctest --output-on-failure --timeout 900)
  tests/fuzz/run_fuzz.sh build-san "${CORVALE_FUZZ_SECONDS:-30}"
}

case "${1:-play}" in
  play)
    install_missing; build
    exec build/corvale/corvale ;;
  test)
    install_missing; build
    cd build && ctest --output-on-failure --timeout 900 ;;
  sanitize)
    install_missing; sanitizer_test ;;
  build)
    install_missing; build ;;
  *)
    echo "usage: $0 play|test|sanitize|build" >&2; exit 2 ;;
esac
