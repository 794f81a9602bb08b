#!/usr/bin/env bash
# Builds the page and measures it in headless chromium (bench/web_bench.js):
#   bench/web_bench.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build-web.sh" >/dev/null
(cd "$root/tests/web" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
NODE_PATH="$root/tests/web/node_modules" node "$root/bench/web_bench.js" "$root/build-web/showcase.html" "$@"
