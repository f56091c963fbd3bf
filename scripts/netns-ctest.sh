#!/usr/bin/env bash
# Runs ctest inside a fresh network namespace made by `unshare -n`, with a
# temporary folder of its own that must be empty afterwards
# (scripts/ctest-private-tmp.sh).
# Usage: unshare -n bash scripts/netns-ctest.sh <build-dir> [ctest options]
set -euo pipefail
BUILD_DIR=$1; shift
source "$(dirname "$0")/netns-setup.sh"
exec bash "$(dirname "$0")/ctest-private-tmp.sh" "$BUILD_DIR" "$@"
