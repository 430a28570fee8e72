#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build and clang-tidy over
# the sources, then the whole suite
# again under AddressSanitizer + UndefinedBehaviorSanitizer, then the thread
# tests under ThreadSanitizer, the fuzz smoke runs and the real-window smoke
# test. Any failure or sanitizer finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
export QT_QPA_PLATFORM=offscreen
JOBS=${JOBS:-2}

run_preset() {
  local preset=$1
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$JOBS"
  echo "== $preset: tests"
  ctest --preset "$preset" -j "$JOBS"
}

start=$SECONDS
run_preset default
echo "== default done after $((SECONDS - start)) s"
if [ -x scripts/tidy.sh ]; then bash scripts/tidy.sh; echo "== tidy done after $((SECONDS - start)) s"; fi
run_preset asan
echo "== asan done after $((SECONDS - start)) s"
if [ -x scripts/tsan.sh ]; then bash scripts/tsan.sh; echo "== tsan done after $((SECONDS - start)) s"; fi
if [ -x scripts/fuzz.sh ]; then bash scripts/fuzz.sh; echo "== fuzz done after $((SECONDS - start)) s"; fi
if [ -x scripts/smoke.sh ]; then bash scripts/smoke.sh; echo "== smoke done after $((SECONDS - start)) s"; fi
if [ -x scripts/windows.sh ]; then bash scripts/windows.sh; echo "== windows done after $((SECONDS - start)) s"; fi
if [ -x scripts/package_check.sh ]; then bash scripts/package_check.sh; echo "== package done after $((SECONDS - start)) s"; fi
echo "== all tests passed in $((SECONDS - start)) s"
