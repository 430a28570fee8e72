#!/usr/bin/env bash
# The capture and callback tests (test folders named threads*) under
# ThreadSanitizer. Only those targets and the libraries they load are built.
set -euo pipefail
cd "$(dirname "$0")/.."
shopt -s nullglob
targets=()
for dir in tests/threads*/; do targets+=("test_$(basename "$dir")"); done
if ((${#targets[@]} == 0)); then
  echo "tsan: no thread tests"
  exit 0
fi
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "${JOBS:-2}" --target "${targets[@]}" tyxcamera
if cmake --build --preset tsan --target help | grep -q '^tyxapi32:'; then
  cmake --build --preset tsan -j "${JOBS:-2}" --target tyxapi32
fi
ctest --preset tsan -j "${JOBS:-2}"
