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
# JOBS (ctest -j, default 2), BASELINE (a file naming the tests that failed without any fault
# in an earlier run on the same code, instead of running the suite once more). The test programs run one at a time, cheapest first (the headless
# ones, then the picture generator's, the real windows last), and only those the fault reaches
# (ninja has something to rebuild for them); the first program with a failing test ends the
# fault's run and its failing tests are printed. --all-tests runs every reached program and
# prints every failing test. A test that fails without any fault is named at the start and never
# counted. Run it under `nice -n 10`: it is CPU-heavy.
# WINDOWS_BUILD: a Windows build with its tests (scripts/build-windows.sh --tests). The faults that
# reach its test programs then also run them under Wine, and when they reach showcase.exe, the
# Linux build's Wine tests (configured with SHOWCASE_WINDOWS_BUILD and SHOWCASE_WINE_PREFIX) run
# it. Wine needs WINEPREFIX and DISPLAY set, as scripts/test-windows.sh sets them.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
list=${LIST:-$root/scripts/mutants.list}
jobs=${JOBS:-2}
windows=${WINDOWS_BUILD:-}
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

# Runs the chosen tests; prints the names of those that failed.
run_tests() {  # $1: a file of test names, or "all"; $2: the build folder (default the Linux one)
  local args=(--test-dir "${2:-$build}" -j "$jobs" --timeout 600 --output-on-failure)
  if [[ "$1" != all ]]; then
    [[ -s "$1" ]] || return 0
    args+=(-R "$(python3 -c 'import sys
names = [n.strip("\n") for n in open(sys.argv[1]) if n.strip()]
quote = lambda n: "".join("[%s]" % c if c in ".*+?()|{}" else c for c in n)
print("^(" + "|".join(map(quote, names)) + ")$")' "$1")")
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
    target_file="$root/$(cat "$dir/file")"; backup="$work/backup"
    if [[ ! -f "$target_file" ]]; then echo "$(cat "$dir/id") NO-MATCH (no file)"; status=1; backup=""; continue; fi
    cp -p "$target_file" "$backup"
    if apply_fault "$dir"; then echo "$(cat "$dir/id") ok"; else echo "$(cat "$dir/id") NO-MATCH"; status=1; fi
    restore
  done
  exit $status
fi

echo "# building and checking that the chosen tests pass without any fault" >&2
build_targets || { cat "$work/build.log"; exit 1; }
# A test that fails without any fault (a broken build machine, a flaky test) cannot count as
# catching one: it is named here and left out of every result below.
if [[ -n "${BASELINE:-}" ]]; then  # names recorded by an earlier run on the same code and build
  cp "$BASELINE" "$work/baseline"; echo "# baseline failures taken from $BASELINE"
else
  if [[ -n "$windows" ]]; then  # the Wine tests of the Linux build run the Windows build's program
    ninja -C "$windows" >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
    run_tests all "$windows" >"$work/baseline"
  fi
  run_tests all >>"$work/baseline"
fi
if [[ -s "$work/baseline" ]]; then
  echo "# failing without any fault, not counted: $(tr '\n' ' ' <"$work/baseline")"
fi

# The test programs, cheapest first: the headless ones, the picture generator's, the real
# windows last. `showcase` comes with the real-window program (its dependency).
order=$(for t in $(ninja -C "$build" -t targets all | sed -n 's|^\(tests/[^:[]*\): CXX_EXECUTABLE_LINKER.*|\1|p'); do
  case "$t" in *wine*) continue ;; *window*) k=2 ;; *tools*) k=1 ;; *) k=0 ;; esac; echo "$k $t"; done | sort -s -n -k1,1 | cut -d' ' -f2)
# The Windows test programs (run under Wine by the Windows build's CTest), and the program.
win_order=""
if [[ -n "$windows" ]]; then
  win_order=$(ninja -C "$windows" -t targets all | sed -n 's|^\(tests/[^:[]*\.exe\): CXX_EXECUTABLE_LINKER.*|\1|p')
fi
# Runs the tests of one Windows test program or, for showcase.exe, the Linux build's Wine tests;
# only when the fault reaches it. Sets status=build when it does not build.
run_windows() {  # $1: the target
  if ninja -C "$windows" -n "$1" 2>/dev/null | grep -q "no work to do"; then return; fi
  if ! ninja -C "$windows" "$1" >"$work/build.log" 2>&1; then status=build; return; fi
  if [[ "$1" == *showcase.exe ]]; then
    ninja -C "$build" tests/window/wine_show_tests >"$work/build.log" 2>&1 || { status=build; return; }
    programs | awk -F'\t' -v e="$build/tests/window/wine_show_tests" '$1 == e {print $2}' >"$work/chosen"
    ran=$((ran + $(grep -c . "$work/chosen")))
    failed+=$(run_tests "$work/chosen" | grep -vxF -f "$work/baseline" | grep . | sed 's/$/ /')
  else
    basename "$1" .exe >"$work/chosen"
    ran=$((ran + 1))
    failed+=$(run_tests "$work/chosen" "$windows" | grep -vxF -f "$work/baseline" | grep . | sed 's/$/ /')
  fi
}

caught=0 missed=0 broken=0 start=$SECONDS
for dir in "$work"/f*; do
  id=$(cat "$dir/id")
  if ((${#wanted[@]})) && [[ " ${wanted[*]} " != *" $id "* ]]; then continue; fi
  target_file="$root/$(cat "$dir/file")"
  backup="$work/backup"
  if [[ ! -f "$target_file" ]]; then echo "$id NO-MATCH (no file $(cat "$dir/file"))"; backup=""; broken=$((broken + 1)); continue; fi
  cp -p "$target_file" "$backup"
  if ! apply_fault "$dir"; then echo "$id NO-MATCH $(cat "$dir/file")"; restore; broken=$((broken + 1)); continue; fi
  failed="" ran=0 status=ok
  for program in $order; do
    # A program that the fault does not reach has nothing to rebuild; its tests cannot notice it.
    # (A file outside the compiled code, such as a CMakeLists.txt, reaches every program.)
    case "$(cat "$dir/file")" in
      *.cpp|*.h|*.c) if ninja -C "$build" -n "$program" 2>/dev/null | grep -q "no work to do"; then continue; fi ;;
    esac
    if ! ninja -C "$build" "$program" >"$work/build.log" 2>&1; then status=build; break; fi
    # Read the names again after each build: a parameter printed as bytes changes them.
    programs | awk -F'\t' -v e="$build/$program" '$1 == e {print $2}' >"$work/chosen"
    ran=$((ran + $(grep -c . "$work/chosen")))
    failed+=$(run_tests "$work/chosen" | grep -vxF -f "$work/baseline" | grep . | sed 's/$/ /')
    if [[ -n "$failed" ]] && ((!all_tests)); then break; fi
  done
  for program in $win_order packaging/windows/showcase.exe; do
    [[ -n "$windows" && "$status" == ok && ( -z "$failed" || $all_tests -eq 1 ) ]] || break
    run_windows "$program"
  done
  # The checks that are scripts rather than test programs (the install tree) see what the build
  # files and data decide; a compiled file reaches them through the programs above.
  case "$(cat "$dir/file")" in
    *.cpp|*.h|*.c) ;;
    *) if [[ "$status" == ok && ( -z "$failed" || $all_tests -eq 1 ) ]]; then
         programs | awk -F'\t' -v b="$build/" 'index($1, b) != 1 {print $2}' >"$work/chosen"
         ran=$((ran + $(grep -c . "$work/chosen")))
         failed+=$(run_tests "$work/chosen" | grep -vxF -f "$work/baseline" | grep . | sed 's/$/ /')
       fi ;;
  esac
  restore
  if [[ "$status" == build ]]; then
    echo "$id BUILD-FAILED"; broken=$((broken + 1))
  elif [[ -n "$failed" ]]; then
    echo "$id CAUGHT $(echo $failed)"; caught=$((caught + 1))
  else
    echo "$id MISSED ($(cat "$dir/what"); $ran tests ran)"; missed=$((missed + 1))
  fi
done
restore
build_targets >/dev/null 2>&1 || true
[[ -z "$windows" ]] || ninja -C "$windows" >/dev/null 2>&1 || true
echo "# $caught caught, $missed missed, $broken not applied; $((SECONDS - start)) s"
((missed == 0 && broken == 0))
