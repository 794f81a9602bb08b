#!/usr/bin/env bash
# Builds everything and runs the whole test suite: logic, whole-program runs on the headless
# backend, GL checks, and real-window runs under a private Xvfb that the tests start themselves.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHOWCASE_WERROR=ON >/dev/null
cmake --build "$root/build"
cd "$root/build"
ctest --output-on-failure --timeout 300 -j2 "$@"
