#!/usr/bin/env bash
# Installs what is needed, configures, builds everything and runs all tests.
# Usage: bash scripts/test.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

bash scripts/install-deps.sh
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S . -B "$build" -G Ninja -DVELA_WERROR=$werror
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
