#!/usr/bin/env bash
# Short fuzz runs of every reader of outside input (FUZZ_SECONDS each,
# default 30). The committed seeds in tests/corpus/<target>/ are copied to a
# scratch corpus, so a run never changes them. A crash fails the run and
# leaves its input in artifacts/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${FUZZ_SECONDS:-30}
BUILD=build/fuzz
OUT=artifacts/fuzz
mkdir -p "$OUT"
cmake -S tests/fuzz -B "$BUILD" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "${JOBS:-2}"
status=0
for fuzzer in "$BUILD"/*_fuzz; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer" _fuzz)
  work=$(mktemp -d)
  [ -d "tests/corpus/$name" ] && cp -r "tests/corpus/$name/." "$work/"
  echo "== fuzz: $name for ${SECONDS_EACH}s"
  if "$fuzzer" -max_total_time="$SECONDS_EACH" -print_final_stats=1 -artifact_prefix="$OUT/$name-" \
      -timeout=10 -rss_limit_mb=2048 "$work" > "$OUT/$name.log" 2>&1; then
    runs=$(grep -m1 'stat::number_of_executed_units' "$OUT/$name.log" | awk '{print $2}')
    echo "fuzz: $name ran ${runs:-?} inputs, no crash"
  else
    echo "fuzz: $name FAILED"; tail -40 "$OUT/$name.log"; status=1
  fi
  rm -rf "$work"
done
exit $status
