#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the normal
# build's, then the sanitizer build's (the tests that need no widgets, and
# every fuzz target replaying its corpus), where any sanitizer finding fails
# the run. Network tests run in a private network namespace; where none can
# be made (not root) they skip.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
SANITIZER_DIR=${SANITIZER_DIR:-build-asan}

bash scripts/install-deps.sh
bash scripts/build.sh "$BUILD_DIR"
bash scripts/build-sanitizer.sh "$SANITIZER_DIR"

rc=0
if unshare -n true 2>/dev/null; then
  for dir in "$BUILD_DIR" "$SANITIZER_DIR"; do
    echo "=== tests of $dir"
    unshare -n bash scripts/netns-ctest.sh "$PWD/$dir" "$@" || rc=1
  done
  exit $rc
fi
echo "NOTE: cannot create a network namespace (not root?): network tests will be skipped." >&2
for dir in "$BUILD_DIR" "$SANITIZER_DIR"; do
  echo "=== tests of $dir"
  bash scripts/ctest-private-tmp.sh "$dir" "$@" || rc=1
done
exit $rc
