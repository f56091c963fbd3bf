#!/usr/bin/env bash
# Takes a screenshot of KorvantisLoader's main window under Xvfb, for a look
# by eye. Run as root, the loader starts in a private network namespace with
# the test veth pair, so its adapter list shows those addresses and nothing it
# does can reach a real network; otherwise it only lists the PC's adapters
# (the window sends nothing until a button is pressed).
# Usage: scripts/screenshot-loader.sh [build-dir] [out-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
OUT_DIR=$(realpath -m "${2:-$BUILD_DIR/screenshots}")
cmake --build "$BUILD_DIR" --target KorvantisLoader >/dev/null
mkdir -p "$OUT_DIR"
loader=$(realpath "$BUILD_DIR/bin/KorvantisLoader")
out="$OUT_DIR/loader-main.png"

shoot() {
  xvfb-run -a -s "-screen 0 900x800x24" bash -c '
    env QT_QPA_PLATFORM=xcb "$1" &
    pid=$!
    sleep 3
    import -window root -crop 869x731+0+0 "$2"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  ' shoot "$loader" "$out"
}

if [[ $(id -u) -eq 0 ]]; then
  export -f shoot
  export loader out
  unshare -n bash -c '
    set -e
    ip link set lo up
    ip link add kvt-tool type veth peer name kvt-unit
    ip addr add 198.18.0.1/24 dev kvt-tool
    ip addr add 198.18.0.2/24 dev kvt-unit
    ip link set kvt-tool up
    ip link set kvt-unit up
    shoot'
else
  shoot
fi
echo "$out"
