#!/usr/bin/env bash
# Takes screenshots of the notification bar (a success and an error entry)
# and a message box under Xvfb, for a look by eye.
# Usage: scripts/screenshot-shell.sh [build-dir] [out-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
OUT_DIR=$(realpath -m "${2:-$BUILD_DIR/screenshots}")
cmake --build "$BUILD_DIR" --target ShellPreview korvantis_translations >/dev/null
mkdir -p "$OUT_DIR"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
preview=$(realpath "$BUILD_DIR/bin/ShellPreview")

shot() { # name scale lang
  printf 'Scaling=%s\n' "$2" > "$work/cfg.ini"
  (cd "$work" && xvfb-run -a -s "-screen 0 1280x1024x24" \
      env QT_QPA_PLATFORM=xcb "$preview" --lang "$3" --out "$OUT_DIR/$1.png")
  echo "$OUT_DIR/$1.png"
}

shot shell-en 1 en
shot shell-de 1 de
shot shell-en-large 1.5 en
