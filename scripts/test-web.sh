#!/usr/bin/env bash
# The show in a web page: builds the page (scripts/build-web.sh) and one with a broken picture,
# the desktop's reference programs (showcase-record, desktop_frames), installs the test drivers
# (from tests/web/package-lock.json) and runs tests/web/web_test.js in Debian's chromium,
# firefox-esr and WebKitGTK's MiniBrowser, one after the other (tests/web/engines.js). No browser
# is downloaded. SHOWCASE_WEB_ENGINES=chromium,firefox picks engines. Leaves the desktop's frames
# in build-web/test-output/desktop/, and per engine the page's, a difference picture of each
# failure and the figures (figures.txt) in build-web/test-output/ENGINE/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/install-deps.sh" --web
"$root/scripts/build-web.sh" >/dev/null
broken=$(mktemp -d)
trap 'rm -rf "$broken"' EXIT
cp "$root"/picture/*.bmp "$broken/"
printf 'not a bitmap' >"$broken/4.bmp"
"$root/scripts/build-web.sh" --pictures "$broken" --output "$root/build-web/broken-picture.html" >/dev/null

if [[ ! -f "$root/build/build.ninja" ]]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$root/build" --target showcase-record desktop_frames

cd "$root/tests/web"
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
rm -rf "$root/build-web/test-output"
node web_test.js "$root/build-web/showcase.html" "$root/build-web/broken-picture.html" \
  "$root/build/tests/web/desktop_frames" "$root/build/showcase-record" "$root/build-web/test-output"
