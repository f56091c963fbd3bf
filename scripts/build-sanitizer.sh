#!/usr/bin/env bash
# Configures once and builds the checking tree: clang with AddressSanitizer
# and UndefinedBehaviorSanitizer, only the libraries and tests that need no
# widgets, and the fuzz targets of tests/fuzz.
# Usage: scripts/build-sanitizer.sh [build-dir]   (default: build-asan)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-asan}
if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
  CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DKORVANTIS_SANITIZE=ON -DKORVANTIS_GUI=OFF
fi
cmake --build "$BUILD_DIR" -j "${JOBS:-$(nproc)}"
