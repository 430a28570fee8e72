#!/usr/bin/env bash
# Sets up, builds and starts vistrel on the simulated camera and board
# libraries. Installs only what building and running needs (the tests'
# tools come with scripts/test.sh). Extra arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh run
cmake --preset run >/dev/null
cmake --build --preset run --target vistrel tyxcamera tyxapi32
exec build/run/bin/vistrel "$@"
