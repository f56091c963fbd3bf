#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Network tests run in
# a private network namespace; where none can be made (not root) they skip.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

bash scripts/install-deps.sh
bash scripts/build.sh "$BUILD_DIR"

if unshare -n true 2>/dev/null; then
  exec unshare -n bash scripts/netns-ctest.sh "$PWD/$BUILD_DIR" "$@"
fi
echo "NOTE: cannot create a network namespace (not root?): network tests will be skipped." >&2
cd "$BUILD_DIR"
exec ctest --output-on-failure -j "${JOBS:-$(nproc)}" "$@"
