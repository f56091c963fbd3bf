#!/usr/bin/env bash
# Runs ctest in a build tree with a temporary folder of this run's own
# (TMPDIR), and fails the run when a test left anything in it: a test
# removes what it makes. The folder is removed afterwards either way.
# Usage: scripts/ctest-private-tmp.sh <build-dir> [ctest options]
set -uo pipefail
BUILD_DIR=$1; shift
cd "$BUILD_DIR" || exit 1
base=$(mktemp -d "${TMPDIR:-/tmp}/korvantis-ctest-XXXXXX") || exit 1
trap 'rm -rf "$base"' EXIT
# Like /tmp: open to every user (tests that act as an ordinary user make
# their files in it), sticky so only a file's owner removes it.
chmod 755 "$base"
mkdir -m 1777 "$base/tmp"
export TMPDIR=$base/tmp
# Without XDG_RUNTIME_DIR Qt makes TMPDIR/runtime-<user> and keeps it: the
# platform's folder, not a test's, so it goes beside the one checked.
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
  mkdir -m 700 "$base/runtime"
  export XDG_RUNTIME_DIR=$base/runtime
fi
ctest --output-on-failure -j "${JOBS:-$(nproc)}" "$@"
rc=$?
left=$(find "$TMPDIR" -mindepth 1 -maxdepth 1 -printf '  %f\n')
if [[ -n $left ]]; then
  echo "Tests left these in the temporary folder (a test removes what it makes):"
  echo "$left"
  rc=1
fi
exit $rc
