#!/usr/bin/env bash
# Cross-builds the Windows program on Debian: showcase.exe (and, with --tests, the test programs
# that run under Wine) in build-windows/, with MinGW-w64 and the same CMake project. With
# SHOWCASE_WERROR=ON in the environment (scripts/test-windows.sh sets it) warnings are errors.
#   scripts/build-windows.sh [--tests]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --windows
testing=OFF
if [[ ${1:-} == --tests ]]; then testing=ON; fi
cmake -S "$root" -B "$root/build-windows" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=$testing -DSHOWCASE_WERROR="${SHOWCASE_WERROR:-OFF}" >/dev/null
cmake --build "$root/build-windows"
echo "$root/build-windows/packaging/windows/showcase.exe"
