#!/usr/bin/env bash
# Takes a screenshot of KorvantisLoader's main window under Xvfb, for a look
# by eye. The picture is taken by the window itself (tools/loaderpreview),
# so nothing beyond the packages of scripts/install-deps.sh is needed. Run
# as root, the window opens in the private test network (scripts/netns-setup.sh),
# so its adapter list shows those addresses and nothing it does can reach a
# real network; otherwise it lists the PC's adapters (the window sends
# nothing until a button is pressed).
# Usage: scripts/screenshot-loader.sh [build-dir] [out-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=$(realpath "${1:-build}")
OUT_DIR=$(realpath -m "${2:-$BUILD_DIR/screenshots}")

if [[ -z "${KORVANTIS_TEST_NETNS:-}" ]]; then
  cmake --build "$BUILD_DIR" --target LoaderPreview >/dev/null
  if [[ $(id -u) -eq 0 ]]; then
    exec unshare -n bash -c 'source scripts/netns-setup.sh && exec bash scripts/screenshot-loader.sh "$0" "$1"' \
      "$BUILD_DIR" "$OUT_DIR"
  fi
fi

mkdir -p "$OUT_DIR"
out="$OUT_DIR/loader-main.png"
xvfb-run -a -s "-screen 0 1024x800x24" \
  env QT_QPA_PLATFORM=xcb "$BUILD_DIR/bin/LoaderPreview" --out "$out"
echo "$out"
# The same window while it writes an archive: the overlay over all of it.
out="$OUT_DIR/loader-progress.png"
xvfb-run -a -s "-screen 0 1024x800x24" \
  env QT_QPA_PLATFORM=xcb "$BUILD_DIR/bin/LoaderPreview" --out "$out" --progress "Flashing"
echo "$out"
