#!/usr/bin/env bash
# Opens a shell (or runs a command) in a private network namespace with the
# test network: the tools' adapter 198.18.0.1 and units at 198.18.0.2..9.
# Nothing sent in there leaves this machine. Needs root.
# Usage: scripts/netns-shell.sh [command ...]
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
if (($#)); then
  exec unshare -n bash -c 'source "$0/netns-setup.sh" && exec "$@"' "$HERE" "$@"
fi
exec unshare -n bash -c 'source "$0/netns-setup.sh" && exec bash -i' "$HERE"
