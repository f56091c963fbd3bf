#!/usr/bin/env bash
# Runs ctest inside a fresh network namespace made by `unshare -n`.
# Usage: unshare -n bash scripts/netns-ctest.sh <build-dir> [ctest options]
set -euo pipefail
BUILD_DIR=$1; shift
source "$(dirname "$0")/netns-setup.sh"
cd "$BUILD_DIR"
exec ctest --output-on-failure -j "${JOBS:-$(nproc)}" "$@"
