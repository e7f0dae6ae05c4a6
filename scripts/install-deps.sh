#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the kitchen monitor need.
# Idempotent: when everything is present it only checks and returns within a second or two.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-odbc
  libsqlite3-dev sqlite3 unixodbc-dev unixodbc tdsodbc libsqliteodbc
  libasound2-dev libsndfile1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils
  fonts-liberation fonts-liberation2 fonts-dejavu-core
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
