#!/usr/bin/env bash
# The one list of Debian packages the project needs to build, test and run.
# Installs only what is missing, so a second run costs nothing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  qtbase5-dev qtbase5-dev-tools qttools5-dev qttools5-dev-tools qhelpgenerator-qt5
  libqt5svg5-dev libqt5sql5-sqlite qttranslations5-l10n
  libmbedtls-dev libsqlite3-dev libbenchmark-dev openssl
  iproute2 util-linux xvfb xauth srecord binutils
  fonts-dejavu-core stress-ng
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
