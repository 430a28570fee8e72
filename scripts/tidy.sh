#!/usr/bin/env bash
# clang-tidy with the committed check set (.clang-tidy) over the program's,
# the libraries' and the simulators' own sources (not tests, not generated
# code). Uses the default build's compile commands without the precompiled
# header, which clang cannot read from gcc. Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build/default}
[ -f "$BUILD/compile_commands.json" ] || cmake --preset default >/dev/null
OUT=$BUILD/tidy
mkdir -p "$OUT"
python3 - "$BUILD/compile_commands.json" "$OUT/compile_commands.json" <<'PY'
import json, re, sys
src, dst = sys.argv[1], sys.argv[2]
keep = re.compile(r'/(app|pages|comm|imaging|clser|sim)/[^ ]*\.(cpp|c)$')
out = []
for e in json.load(open(src)):
    f = e['file']
    if not keep.search(f) or any(d in f for d in ('/build/', '/fuzz/', '/tests/')):
        continue
    cmd = re.sub(r' -include [^ ]*cmake_pch\.hxx', '', e['command'])
    cmd = cmd.replace(' -Winvalid-pch', '')
    out.append({'directory': e['directory'], 'command': cmd, 'file': f})
json.dump(out, open(dst, 'w'), indent=1)
print(f"tidy: {len(out)} sources", file=sys.stderr)
PY
python3 -c "import json,sys; [print(e['file']) for e in json.load(open(sys.argv[1]))]" "$OUT/compile_commands.json" |
  sort -u | xargs -P "${JOBS:-2}" -n 4 clang-tidy -p "$OUT" --quiet 2>/dev/null > "$OUT/findings.txt" || true
if grep -q 'warning:\|error:' "$OUT/findings.txt"; then
  grep -A3 'warning:\|error:' "$OUT/findings.txt" | head -200
  echo "tidy: $(grep -c 'warning:\|error:' "$OUT/findings.txt") findings"
  exit 1
fi
echo "tidy: clean"
