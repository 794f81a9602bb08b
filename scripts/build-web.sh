#!/usr/bin/env bash
# Builds the show as one web page: build-web/showcase.html holds the WebAssembly, its JavaScript
# and the pictures (gzip-compressed, inflated by the browser), and plays from disk, from a web
# server or in an <iframe>. Uses Debian's emscripten.
#   scripts/build-web.sh [--pictures DIR] [--output FILE] [--debug] [--site DIR [--start OPTIONS]]
# --debug builds with assertions, so a GL call outside what the show makes stops the program with
# its name (build-web/showcase-debug.html unless --output says otherwise).
# --site DIR also writes the show as a web app to install on a tablet (scripts/web-site.py):
# DIR/index.html, its manifest, icons and service worker, to copy onto any web server; --start
# gives the installed app's page options ('kiosk&idle-reset=60').
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
pictures="$root/picture"
output=""
site=""
start=""
type=Release
usage="usage: $0 [--pictures DIR] [--output FILE] [--debug] [--site DIR [--start OPTIONS]]"
while (($#)); do
  case "$1" in
    --pictures) pictures="$(realpath "${2:?--pictures needs a folder}")"; shift 2 ;;
    --pictures=*) pictures="$(realpath "${1#*=}")"; shift ;;
    --output) output="$(realpath -m "${2:?--output needs a file}")"; shift 2 ;;
    --output=*) output="$(realpath -m "${1#*=}")"; shift ;;
    --debug) type=Debug; shift ;;
    --site) site="$(realpath -m "${2:?--site needs a folder}")"; shift 2 ;;
    --site=*) site="$(realpath -m "${1#*=}")"; shift ;;
    --start) start="${2?--start needs page options}"; shift 2 ;;
    --start=*) start="${1#*=}"; shift ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
if [[ $type == Debug ]]; then
  build="$root/build-web/cmake-debug"
  output="${output:-$root/build-web/showcase-debug.html}"
else
  build="$root/build-web/cmake"
  output="${output:-$root/build-web/showcase.html}"
fi
[[ -d "$pictures" ]] || { echo "build-web.sh: no picture folder '$pictures'" >&2; exit 2; }
[[ -z "$start" || -n "$site" ]] || { echo "build-web.sh: --start is for --site" >&2; exit 2; }

"$root/scripts/install-deps.sh" --web
# Debian's emscripten runs its JavaScript optimizer with node, which finds acorn only here.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
if [[ ! -f "$build/build.ninja" ]]; then
  emcmake cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=$type -DBUILD_TESTING=OFF \
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
if [[ -n "$site" ]]; then
  python3 "$root/scripts/web-site.py" --page "$output" --icons "$root/packaging/icons" \
    --worker "$root/platform/subset/web/site/worker.js" --registration "$root/platform/subset/web/site/start.js" \
    --start "$start" --output "$site"
fi
