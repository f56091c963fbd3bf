#!/usr/bin/env bash
# Runs one fuzz target of the sanitizer build for a while (default 600 s).
# New inputs go to build-asan/fuzz/<target>/corpus, findings to
# build-asan/fuzz/<target>/ (crash-*, leak-*, timeout-*). A finding is fixed,
# and its input added to tests/fuzz/corpus/<target>/ so that every test run
# replays it.
# Usage: scripts/fuzz.sh TARGET [seconds]     (scripts/fuzz.sh lists targets)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-asan}
targets() { find tests/fuzz -maxdepth 1 -name 'fuzz_*.cpp' -printf '%f\n' | sed 's/^fuzz_//; s/\.cpp$//' | sort; }
if [[ $# -lt 1 ]]; then
  echo "usage: scripts/fuzz.sh TARGET [seconds]; targets:" >&2
  targets | sed 's/^/  /' >&2
  exit 2
fi
TARGET=$1
TIME=${2:-600}
if ! targets | grep -qx "$TARGET"; then
  echo "no fuzz target '$TARGET'; targets:" >&2
  targets | sed 's/^/  /' >&2
  exit 2
fi
bash scripts/build-sanitizer.sh "$BUILD_DIR" >/dev/null
WORK=$BUILD_DIR/fuzz/$TARGET
mkdir -p "$WORK/corpus"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/fuzz/lsan.supp}
exec "$BUILD_DIR/bin/fuzz_$TARGET" -max_total_time="$TIME" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$WORK/" "$WORK/corpus" "tests/fuzz/corpus/$TARGET"
