#!/usr/bin/env bash
# Sets up, builds and starts vistrel on the simulated camera and board
# libraries. Extra arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target vistrel tyxcamera tyxapi32
BIN=build/default/bin/vistrel
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY is not set)."
  echo "To run vistrel on a virtual display:"
  echo "  xvfb-run -a -s '-screen 0 1280x1024x24' $BIN"
  exit 2
fi
exec "$BIN" "$@"
