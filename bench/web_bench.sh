#!/usr/bin/env bash
# Builds the page and the desktop's frame benchmark, measures the desktop's whole frame at
# 1024 x 768 on Mesa, then the page in the chosen browser engines (bench/web_bench.js):
#   bench/web_bench.sh [SECONDS] [--engines=chromium,firefox,webkit] [--cycles=N]
#                      [--long-frames=N] [--long-size=WxH] [--no-bare | --bare-only]
# SECONDS: how long the show plays at its pace for the frame times (20). The engines default to
# all three; --long-frames=0 leaves out the long run, --no-bare the bare WebGL page in chromium,
# --bare-only everything else.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-rel"
args=()
while (($#)); do
  case "$1" in
    --engines) args+=("--engines=${2:?--engines needs a list, e.g. chromium,firefox}"); shift 2 ;;
    *) args+=("$1"); shift ;;
  esac
done

# build-web.sh installs emscripten, the three browsers and Xvfb (install-deps.sh --web).
"$root/scripts/build-web.sh" >/dev/null
(cd "$root/tests/web" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)

# frame_bench's BM_Frame at 1024 x 768, from the Release build, beside the page's frame.
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_COMPILER_LAUNCHER="$(command -v ccache || true)" >/dev/null
fi
cmake --build "$build" --target frame_bench >/dev/null
native=$("$build/bench/frame_bench" --benchmark_filter='BM_Frame/1024/768' --benchmark_min_time=3 \
  --benchmark_format=csv 2>/dev/null | awk -F, '$1 ~ /BM_Frame\/1024\/768/ { print $3 }')
echo "desktop frame_bench BM_Frame/1024/768: ${native} us"

NODE_PATH="$root/tests/web/node_modules" node "$root/bench/web_bench.js" "$root/build-web/showcase.html" \
  "${args[@]}" --native-frame-us="$native"
