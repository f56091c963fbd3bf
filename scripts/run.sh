#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated unit on a loopback
# address and starts KorvantisSetup. The simulated unit stops with the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
UNIT_ADDRESS=${UNIT_ADDRESS:-127.0.0.2}

bash scripts/install-deps.sh
bash scripts/build.sh "$BUILD_DIR"

SIM_PID=
if [[ -x "$BUILD_DIR/bin/KorvantisUnitSim" ]]; then
  "$BUILD_DIR/bin/KorvantisUnitSim" --address "$UNIT_ADDRESS" &
  SIM_PID=$!
  trap '[[ -n "$SIM_PID" ]] && kill "$SIM_PID" 2>/dev/null || true' EXIT
  echo "simulated unit listening on $UNIT_ADDRESS:7755"
fi

cd "$BUILD_DIR/bin"
./KorvantisSetup
