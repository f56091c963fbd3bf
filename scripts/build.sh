#!/usr/bin/env bash
# Configures once and builds incrementally with all cores.
# Usage: scripts/build.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR" -j "${JOBS:-$(nproc)}"
