#!/usr/bin/env bash
# Installs what is needed, builds the programs, prepares the demo shop, starts the till
# simulator and the kitchen monitor on it. Closing the monitor (or Ctrl+C) stops both.
# Usage: bash scripts/run-demo.sh [--fresh]
# Without a display (no DISPLAY), the monitor runs under Xvfb for $VELA_DEMO_SECONDS
# seconds (default 45) and a screenshot is saved to $VELA_DEMO_SCREENSHOT
# (default build/demo-screenshot.png).
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

build/bin/vela-demo simulate &
simulator=$!
trap 'kill "$simulator" 2>/dev/null || true; wait "$simulator" 2>/dev/null || true' EXIT INT TERM

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  build/bin/vela-kitchen
else
  seconds=${VELA_DEMO_SECONDS:-45}
  shot=${VELA_DEMO_SCREENSHOT:-$PWD/build/demo-screenshot.png}
  echo "No display: running the monitor under Xvfb for $seconds s."
  export VELA_SCREENSHOT=$shot
  export VELA_SCREENSHOT_AFTER=$((seconds - 5))
  unset QT_QPA_PLATFORM
  timeout --signal=TERM "$seconds" \
    xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/vela-kitchen || true
  if [ -f "$shot" ]; then
    echo "Screenshot of the monitor: $shot"
  else
    echo "No screenshot was saved (see the messages above)."
  fi
fi
