#!/usr/bin/env bash
# The screenshot tour of KorvantisSetup: under Xvfb, in a private network
# namespace, starts the simulated unit and drives the real main window
# through its stops (tools/setuptour), saving a PNG of each, in English and
# German. Run as root (the namespace needs it).
# Usage: scripts/screenshot-setup.sh [build-dir] [out-dir] [scale] [screen]
#   scale   the display scale written to cfg.ini ("Scaling"), default 1
#   screen  the Xvfb screen, width x height, default 1400x1000 (the window
#           opens at its own size; e.g. 1024x768 shows what a small screen
#           leaves of it)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=$(realpath "${1:-build}")
OUT_DIR=$(realpath -m "${2:-$BUILD_DIR/screenshots}")
SCALE=${3:-1}
SCREEN=${4:-1400x1000}

if [[ -z "${KORVANTIS_TEST_NETNS:-}" ]]; then
  cmake --build "$BUILD_DIR" --target SetupTour KorvantisUnitSim korvantis_translations korvantis_catalogue >/dev/null
  exec unshare -n bash -c "source scripts/netns-setup.sh && exec bash scripts/screenshot-setup.sh '$BUILD_DIR' '$OUT_DIR' '$SCALE' '$SCREEN'"
fi

mkdir -p "$OUT_DIR"
# A sanitizer build (build-asan-gui) leaves out what the libraries below us
# keep until exit.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/fuzz/lsan.supp}
work=$(mktemp -d)
UNIT=198.18.0.2
# An idle unit (heartbeat byte 5 0x10): its data and log controls are free;
# a Modbus-TCP fieldbus module is fitted.
"$BUILD_DIR/bin/KorvantisUnitSim" --address "$UNIT" --name "Press line 4" --data-control 0x10 --fieldbus 0x93 &
SIM_PID=$!
trap 'kill "$SIM_PID" 2>/dev/null || true; rm -rf "$work"' EXIT

# A stop that fails is reported (and fails the run); the other language is
# still taken.
status=0
for lang in en de; do
  printf 'Scaling=%s\n' "$SCALE" > "$work/cfg.ini"
  (cd "$work" && xvfb-run -a -s "-screen 0 ${SCREEN}x24" \
      env QT_QPA_PLATFORM=xcb "$BUILD_DIR/bin/SetupTour" --unit "$UNIT" --lang "$lang" --out "$OUT_DIR") || status=1
done
exit $status
