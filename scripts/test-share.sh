#!/usr/bin/env bash
# The suite's size against the program's: lines of the .cpp, .h, .c and .py files git tracks
# under tests/ and under every other folder, per tests/ folder and as a share. With --check, fails
# when the tests exceed a third of the program.
set -euo pipefail
cd "$(dirname "$0")/.."
lines() { { grep -E '\.(cpp|h|c|py)$' || true; } | tr '\n' '\0' | xargs -0 -r cat | wc -l; }
tests=$(git ls-files -- 'tests/*' | lines)
code=$(git ls-files | grep -v '^tests/' | lines)
for folder in $(git ls-files -- 'tests/*/*' | cut -d/ -f2 | sort -u); do
  printf '  tests/%-10s %6d\n' "$folder" "$(git ls-files -- "tests/$folder/*" | lines)"
done
echo "tests $tests, program $code: $((100 * tests / code))% (at most a third: $((code / 3)))"
if [[ "${1:-}" == "--check" ]] && ((3 * tests > code)); then
  echo "test-share: the tests are more than a third of the program" >&2
  exit 1
fi
