#!/usr/bin/env bash
# Builds the viewer and runs it from the repository root, where its pictures are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" --target showcase
cd "$root"
exec "$root/build/showcase"
