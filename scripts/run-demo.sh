#!/usr/bin/env bash
# Installs what is needed, builds the programs, prepares the demo shop and starts the
# kitchen monitor on it. Usage: bash scripts/run-demo.sh [--fresh]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j"$(nproc)" --target vela-kitchen vela-demo vela-reg

build/bin/vela-demo setup "$@"
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # No screen on this machine: the monitor draws into an off-screen buffer.
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
fi
exec build/bin/vela-kitchen
