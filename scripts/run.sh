#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated unit and starts
# KorvantisSetup. As root both run in a private network namespace with the
# test network (tool 198.18.0.1, unit 198.18.0.2), so discovery broadcasts
# reach the simulated unit and nothing leaves this machine; otherwise the
# unit listens on loopback 127.0.0.2. The simulated unit stops with the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

if [[ -z "${KORVANTIS_TEST_NETNS:-}" ]]; then
  bash scripts/install-deps.sh
  bash scripts/build.sh "$BUILD_DIR"
  if [[ $(id -u) -eq 0 ]] && unshare -n true 2>/dev/null; then
    exec unshare -n bash -c 'source scripts/netns-setup.sh && exec bash scripts/run.sh'
  fi
fi

if [[ -n "${KORVANTIS_TEST_NETNS:-}" ]]; then
  UNIT_ADDRESS=${UNIT_ADDRESS:-198.18.0.2}
else
  UNIT_ADDRESS=${UNIT_ADDRESS:-127.0.0.2}
fi

"$BUILD_DIR/bin/KorvantisUnitSim" --address "$UNIT_ADDRESS" &
SIM_PID=$!
trap 'kill "$SIM_PID" 2>/dev/null || true' EXIT
echo "simulated unit listening on $UNIT_ADDRESS:7755"

cd "$BUILD_DIR/bin"
./KorvantisSetup
