#!/usr/bin/env bash
# Builds the suite with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ (-O1, so the build and the runs both stay quick) and runs every test that needs
# no real window (label xvfb). Any finding stops its test with a failure: errors are fatal and
# leaks are reported at exit. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:print_stacktrace=1:detect_stack_use_after_return=1:strict_init_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 -DCMAKE_C_FLAGS=-O1 \
  -DSHOWCASE_SANITIZE=ON -DSHOWCASE_WERROR=ON >/dev/null
cmake --build "$root/build-asan"
cd "$root/build-asan"
ctest --output-on-failure --timeout 600 -j2 -LE xvfb "$@"
