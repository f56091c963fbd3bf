#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated unit and starts
# KorvantisSetup. Both run in a private network namespace with the test
# network (tool 198.18.0.1, unit 198.18.0.2), so discovery broadcasts reach
# the simulated unit and nothing leaves this machine. Making the namespace
# needs root: without it the script stops, since the tool would search and
# broadcast on the machine's real network. The simulated unit stops with the
# tool.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

if [[ -z "${KORVANTIS_TEST_NETNS:-}" ]]; then
  bash scripts/install-deps.sh
  bash scripts/build.sh "$BUILD_DIR"
  if [[ $(id -u) -eq 0 ]] && unshare -n true 2>/dev/null; then
    exec unshare -n bash -c 'source scripts/netns-setup.sh && exec bash scripts/run.sh'
  fi
  echo "run.sh: cannot make the private test network (unshare -n needs root);" >&2
  echo "        not starting KorvantisSetup, whose search would broadcast on this machine's network." >&2
  exit 1
fi

UNIT_ADDRESS=${UNIT_ADDRESS:-198.18.0.2}

"$BUILD_DIR/bin/KorvantisUnitSim" --address "$UNIT_ADDRESS" &
SIM_PID=$!
trap 'kill "$SIM_PID" 2>/dev/null || true' EXIT
echo "simulated unit listening on $UNIT_ADDRESS:7755"

cd "$BUILD_DIR/bin"
./KorvantisSetup
