#!/usr/bin/env bash
# Configures once and builds the checking tree: clang with AddressSanitizer
# and UndefinedBehaviorSanitizer, and the fuzz targets of tests/fuzz. By
# default only the libraries and tests that need no widgets; with --gui
# everything (the programs, the window tests, the screenshot tour) in a tree
# of its own.
# Usage: scripts/build-sanitizer.sh [--gui] [build-dir]
#        (default: build-asan, with --gui build-asan-gui)
set -euo pipefail
cd "$(dirname "$0")/.."
GUI=OFF
if [[ "${1:-}" == "--gui" ]]; then
  GUI=ON
  shift
fi
if [[ $GUI == ON ]]; then
  BUILD_DIR=${1:-build-asan-gui}
else
  BUILD_DIR=${1:-build-asan}
fi
if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
  CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DKORVANTIS_SANITIZE=ON -DKORVANTIS_GUI=$GUI
fi
cmake --build "$BUILD_DIR" -j "${JOBS:-$(nproc)}"
