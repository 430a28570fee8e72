#!/usr/bin/env bash
# Sets up, builds and starts vistrel on the simulated camera and board
# libraries. Installs only what building and running needs (the tests'
# tools come with scripts/test.sh). Extra arguments are passed to the program.
# The simulated cameras keep their settings between starts (see below).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh run
cmake --preset run >/dev/null
cmake --build --preset run --target vistrel tyxcamera tyxapi32
# The simulated cameras keep what they were given from one start to the
# next, as powered cameras do, unless TYXCAM_SIM says otherwise.
if [ -z "${TYXCAM_SIM+set}" ]; then
  export TYXCAM_SIM="keep ${XDG_STATE_HOME:-$HOME/.local/state}/vistrel/simulated-cameras"
fi
exec build/run/bin/vistrel "$@"
