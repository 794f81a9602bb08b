#!/usr/bin/env bash
# Applies each deliberate fault of scripts/mutants.list to the code in turn, rebuilds, runs the
# tests and says whether any test failed. Prints one line per fault:
#   <id> CAUGHT <failing tests...>   or   <id> MISSED   (or BUILD-FAILED / NO-MATCH)
# and a summary at the end. The file is restored after each fault, also on Ctrl+C.
#
#   scripts/mutants.sh [--all-tests] [id...]   # all faults of the list, or only those named
#   scripts/mutants.sh --check                 # only checks that every fault's text is found once
#
# Environment: BUILD (build folder, default build; configured if missing), LIST (the list),
# JOBS (ctest -j, default 2). Only the test programs that the fault's rebuild relinked run
# (plus the real-window tests when `showcase` was relinked and the picture tests when the
# generator was); a fault outside compiled code (a CMakeLists.txt, a data file) runs the whole
# suite. --all-tests always runs the whole suite. Run it under `nice -n 10`: it is CPU-heavy.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
list=${LIST:-$root/scripts/mutants.list}
jobs=${JOBS:-2}
all_tests=0 check_only=0
if [[ "${1:-}" == "--all-tests" ]]; then all_tests=1; shift; fi
if [[ "${1:-}" == "--check" ]]; then check_only=1; shift; fi
wanted=("$@")
cd "$root"

if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1 CCACHE_DIR=${CCACHE_DIR:-$root/build-ccache}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
else
  launcher=()
fi
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
    -DCMAKE_C_FLAGS_DEBUG=-O0 "${launcher[@]}" >/dev/null || exit 1
fi

work=$(mktemp -d)
backup=""
target_file=""
restore() {
  if [[ -n "$backup" && -f "$backup" ]]; then cp -p "$backup" "$target_file"; touch "$target_file"; fi
  backup=""
}
trap 'restore; rm -rf "$work"; exit 130' INT TERM
trap 'restore; rm -rf "$work"' EXIT

# The test programs and the executables the tests run besides them.
programs() { ctest --test-dir "$build" --show-only=json-v1 2>/dev/null | python3 -c '
import json, sys
data = json.load(sys.stdin)
for t in data["tests"]:
    cmd = t.get("command") or []
    if cmd: print(cmd[0], t["name"], sep="\t")'; }
# Every test program (the executables under tests/), the program and the picture generator.
targets="$(ninja -C "$build" -t targets all | sed -n 's|^\(tests/[^:[]*\): CXX_EXECUTABLE_LINKER.*|\1|p' | tr '\n' ' ')"
targets="$targets showcase tools/picture_generator"

build_targets() { ninja -C "$build" $targets >"$work/build.log" 2>&1; }
stamp() { for f in $(programs | cut -f1 | sort -u) "$build/showcase" "$build/tools/picture_generator"; do
  [[ -f "$f" ]] && stat -c '%n %.9Y' "$f"; done; }

# Runs the chosen tests; prints the names of those that failed.
run_tests() {  # $1: a file of test names, or "all"
  local args=(--test-dir "$build" -j "$jobs" --timeout 120 --output-on-failure)
  if [[ "$1" != all ]]; then
    [[ -s "$1" ]] || return 0
    args+=(-R "^($(sed 's/[][.*+?(){}|^$\\]/\\&/g' "$1" | paste -sd'|'))\$")
  fi
  ctest "${args[@]}" >"$work/ctest.log" 2>&1
  sed -n '/The following tests FAILED:/,$p' "$work/ctest.log" |
    sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*)[[:space:]]*$/\1/p'
}

# Parses the list: one record per fault, fields separated by NUL bytes in files under $work.
python3 - "$list" "$work" <<'PY' || exit 1
import sys, os
path, out = sys.argv[1], sys.argv[2]
faults, cur = [], None
for raw in open(path, encoding="utf-8").read().split("\n"):
    if raw.startswith("#"): continue
    if raw.startswith("["):
        ident, _, file = raw[1:].partition("]")
        cur = {"id": ident.strip(), "file": file.strip(), "what": "", "old": [], "new": []}
        faults.append(cur)
    elif cur is None or not raw.strip(): continue
    elif raw.startswith("- ") or raw == "-": cur["old"].append(raw[2:])
    elif raw.startswith("+ ") or raw == "+": cur["new"].append(raw[2:])
    elif raw.startswith("  "): cur["what"] = raw.strip()
for n, f in enumerate(faults):
    d = os.path.join(out, "f%03d" % n); os.mkdir(d)
    for k in ("id", "file", "what"): open(os.path.join(d, k), "w").write(f[k])
    open(os.path.join(d, "old"), "w").write("\n".join(f["old"]))
    open(os.path.join(d, "new"), "w").write("\n".join(f["new"]))
PY

apply_fault() {  # $1: fault folder; prints nothing, returns 1 when the text is not there once
  python3 - "$root/$(cat "$1/file")" "$1/old" "$1/new" <<'PY'
import sys
target, old, new = sys.argv[1], open(sys.argv[2]).read(), open(sys.argv[3]).read()
text = open(target, encoding="utf-8").read()
if old == "" or text.count(old) != 1: sys.exit(1)
open(target, "w", encoding="utf-8").write(text.replace(old, new, 1))
PY
}

if ((check_only)); then  # only that every text is there exactly once
  status=0
  for dir in "$work"/f*; do
    target_file="$root/$(cat "$dir/file")"; backup="$work/backup"; cp -p "$target_file" "$backup"
    if apply_fault "$dir"; then echo "$(cat "$dir/id") ok"; else echo "$(cat "$dir/id") NO-MATCH"; status=1; fi
    restore
  done
  exit $status
fi

echo "# building and checking that the chosen tests pass without any fault" >&2
build_targets || { cat "$work/build.log"; exit 1; }
if [[ $(run_tests all | wc -l) -ne 0 ]]; then
  echo "the suite fails without any fault; see:" >&2; sed -n '/FAILED/,$p' "$work/ctest.log" >&2; exit 1
fi

caught=0 missed=0 broken=0 start=$SECONDS
for dir in "$work"/f*; do
  id=$(cat "$dir/id")
  if ((${#wanted[@]})) && [[ " ${wanted[*]} " != *" $id "* ]]; then continue; fi
  target_file="$root/$(cat "$dir/file")"
  backup="$work/backup"
  cp -p "$target_file" "$backup"
  stamp >"$work/before"
  if ! apply_fault "$dir"; then echo "$id NO-MATCH $(cat "$dir/file")"; restore; broken=$((broken + 1)); continue; fi
  if ! build_targets; then echo "$id BUILD-FAILED"; restore; broken=$((broken + 1)); continue; fi
  stamp >"$work/after"
  : >"$work/chosen"
  case "$(cat "$dir/file")" in
    *.cpp|*.h|*.c) compiled=1 ;;
    *) compiled=0 ;;
  esac
  if ((all_tests || !compiled)); then
    echo all >"$work/chosen"
  else
    changed=$(diff "$work/before" "$work/after" | sed -n 's/^> \([^ ]*\) .*/\1/p')
    for exe in $changed; do
      case "$(basename "$exe")" in
        showcase) programs | awk -F'\t' '$1 ~ /showcase_window_tests$/ {print $2}' ;;
        picture_generator) programs | awk -F'\t' '$1 ~ /picture_tools_tests$/ {print $2}' ;;
        *) programs | awk -F'\t' -v e="$exe" '$1 == e {print $2}' ;;
      esac
    done | sort -u >"$work/chosen"
  fi
  if [[ "$(cat "$work/chosen")" == all ]]; then failed=$(run_tests all); else failed=$(run_tests "$work/chosen"); fi
  restore
  if [[ -n "$failed" ]]; then
    echo "$id CAUGHT $(echo "$failed" | tr '\n' ' ')"; caught=$((caught + 1))
  else
    echo "$id MISSED ($(cat "$dir/what"); $(grep -c . "$work/chosen" || true) tests ran)"; missed=$((missed + 1))
  fi
done
restore
build_targets >/dev/null 2>&1 || true
echo "# $caught caught, $missed missed, $broken not applied; $((SECONDS - start)) s"
((missed == 0 && broken == 0))
