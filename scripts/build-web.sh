#!/usr/bin/env bash
# Builds the show as one web page: build-web/showcase.html holds the WebAssembly, its JavaScript
# and the pictures (gzip-compressed, inflated by the browser), and plays from disk, from a web
# server or in an <iframe>. Uses Debian's emscripten.
#   scripts/build-web.sh [--pictures DIR] [--output FILE]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
pictures="$root/picture"
output="$root/build-web/showcase.html"
while (($#)); do
  case "$1" in
    --pictures) pictures="$(realpath "${2:?--pictures needs a folder}")"; shift 2 ;;
    --pictures=*) pictures="$(realpath "${1#*=}")"; shift ;;
    --output) output="$(realpath -m "${2:?--output needs a file}")"; shift 2 ;;
    --output=*) output="$(realpath -m "${1#*=}")"; shift ;;
    *) echo "usage: $0 [--pictures DIR] [--output FILE]" >&2; exit 2 ;;
  esac
done
[[ -d "$pictures" ]] || { echo "build-web.sh: no picture folder '$pictures'" >&2; exit 2; }

"$root/scripts/install-deps.sh" --web
# Debian's emscripten runs its JavaScript optimizer with node, which finds acorn only here.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
build="$root/build-web/cmake"
if [[ ! -f "$build/build.ninja" ]]; then
  emcmake cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_COMPILER_LAUNCHER="$(command -v ccache || true)" >/dev/null
fi
cmake --build "$build" --target showcase
# emcc's own HTML step (its minifier) fails with this emscripten, so the program is built as
# .js + .wasm and the page is made from our own shell.
mkdir -p "$(dirname "$output")"
python3 "$root/scripts/web-page.py" --shell "$root/platform/subset/web/page/shell.html" \
  --page "$root/platform/subset/web/page/page.js" --program "$build/showcase.js" \
  --wasm "$build/showcase.wasm" --pictures "$pictures" --output "$output"
echo "$output"
