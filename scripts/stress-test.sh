#!/usr/bin/env bash
# Runs the whole test command N times (default 3) while the machine is kept
# busy (stress-ng with twice as many CPU workers as there are cores), and
# lists every failure with its test and, for QtTest programs, its function.
# The builds come first, without the load; the load stops with the script.
# Usage: scripts/stress-test.sh [runs]
set -uo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-3}
BUILD_DIR=${BUILD_DIR:-build}
SANITIZER_DIR=${SANITIZER_DIR:-build-asan}

bash scripts/install-deps.sh || exit 1
bash scripts/build.sh "$BUILD_DIR" || exit 1
bash scripts/build-sanitizer.sh "$SANITIZER_DIR" || exit 1

workers=$((2 * $(nproc)))
stress-ng --cpu "$workers" --timeout 0 --quiet &
STRESS_PID=$!
logs=$(mktemp -d)
trap 'kill "$STRESS_PID" 2>/dev/null; wait "$STRESS_PID" 2>/dev/null; rm -rf "$logs"' EXIT
echo "load: stress-ng --cpu $workers (pid $STRESS_PID)"

failed=0
for ((run = 1; run <= RUNS; run++)); do
  log="$logs/run$run.log"
  start=$SECONDS
  if bash scripts/test.sh > "$log" 2>&1; then
    echo "run $run of $RUNS: passed ($((SECONDS - start)) s)"
  else
    failed=$((failed + 1))
    echo "run $run of $RUNS: FAILED ($((SECONDS - start)) s)"
    # ctest's verdict per test program, then QtTest's failed functions.
    grep -E '\*\*\*(Failed|Timeout|Exception)|Test +#[0-9]+: .* (Failed|Timeout)|Subprocess aborted' "$log" | sed 's/^/  /'
    grep -E -A1 '^FAIL!|^QFATAL|ERROR: (Address|Undefined)Sanitizer|runtime error:' "$log" | sed 's/^/    /'
    grep -A20 '^Tests left these' "$log" | grep -E '^(Tests left|  )' | sed 's/^/  /'
  fi
done
echo "stress test: $((RUNS - failed)) of $RUNS runs passed"
((failed == 0))
