#!/usr/bin/env bash
# Builds the two fuzz targets of the bitmap decoder with clang in build-fuzz/ and runs both at
# once for SECONDS each (default 60), with the format's dictionary and a scratch corpus that
# starts from the committed one; then prints, per target, executions, executions per second,
# coverage (edges: cov, features: ft), the scratch corpus size and any findings (crash files
# in build-fuzz/findings/). With --merge, the inputs of both scratch corpora that reach
# coverage the committed corpus does not are added to it (libFuzzer -merge=1).
set -euo pipefail

usage() { echo "Usage: $0 [--merge] [SECONDS]" >&2; exit 2; }
merge=0
seconds=60
for arg in "$@"; do
  case "$arg" in
    --merge) merge=1 ;;
    --help) echo "Usage: $0 [--merge] [SECONDS]"; exit 0 ;;
    *[!0-9]* | "") usage ;;
    *) seconds=$arg ;;
  esac
done

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
corpus="$root/fuzz/corpus/dib"
targets=(dib_fuzz dib_file_fuzz)

"$root/scripts/install-deps.sh" --fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHOWCASE_FUZZ=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

mkdir -p "$build/findings"
pids=()
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus-$t"
  cp -n "$corpus"/* "$build/corpus-$t/"
  # Findings stop a run; libFuzzer exits non-zero and leaves the input in findings/.
  "$build/fuzz/$t" -max_total_time="$seconds" -dict="$root/fuzz/dib.dict" -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$t-" "$build/corpus-$t" \
    >"$build/$t.log" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!targets[@]}"; do
  wait "${pids[$i]}" || status=1
done

for t in "${targets[@]}"; do
  log="$build/$t.log"
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  stat() { sed -n "s/^stat::$1: *//p" "$log"; }
  echo "$t: $(stat number_of_executed_units) executions, $(stat average_exec_per_sec) per second," \
    "cov $(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last"), ft $(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")," \
    "corpus $(ls "$build/corpus-$t" | wc -l) inputs"
  grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | sed "s/^/  $t: /" || true
done
ls "$build/findings" | sed 's/^/finding: /'

if ((merge)); then
  "$build/fuzz/dib_file_fuzz" -merge=1 -dict="$root/fuzz/dib.dict" "$corpus" \
    "$build/corpus-dib_fuzz" "$build/corpus-dib_file_fuzz" >"$build/merge.log" 2>&1
  grep -E 'MERGE-OUTER: [0-9]+ new files' "$build/merge.log" || true
fi
exit $status
