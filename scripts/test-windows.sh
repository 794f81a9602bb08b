#!/usr/bin/env bash
# The Windows program's tests, here on Linux: cross-builds it with its tests (build-windows/), runs
# the tests that need no Linux window under Wine, then the whole program under Wine on Xvfb in an
# English and a Russian locale (from the Linux build, build/), then makes the portable zip and the
# installer and tries both as a user would. Fails when the Windows build stops building.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/install-deps.sh" --windows

# The locales the Wine tests run under: Wine takes its code page from them (1252, 1251).
for locale in en_US ru_RU; do
  if ! locale -a 2>/dev/null | grep -qix "$locale.utf-\?8"; then
    localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  fi
done

SHOWCASE_WERROR=ON "$root/scripts/build-windows.sh" --tests >/dev/null
windows=$root/build-windows

# One Wine prefix for the tests, made once, with a private HOME so Wine adds nothing to this
# machine's desktop; no Mono or Gecko to offer. The test programs' boxes are not handed to a
# window manager (there is none), so they open and close without waiting for one.
export WINEPREFIX=$windows/wineprefix HOME=$windows/wine-home WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$HOME"
xvfb_log=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$xvfb_log" >/dev/null 2>&1 &
xvfb=$!
trap 'timeout 20 wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -f "$xvfb_log"' EXIT
for _ in $(seq 100); do [[ -s $xvfb_log ]] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$xvfb_log")
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  timeout 300 wineboot -i >/dev/null 2>&1
  for program in image_tests.exe windows_platform_tests.exe; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  done
fi

echo "== tests under Wine"
(cd "$windows" && ctest --output-on-failure --timeout 300)
timeout 20 wineserver -k 2>/dev/null || true

echo "== the whole program under Wine on Xvfb"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSHOWCASE_WINDOWS_BUILD="$windows" -DSHOWCASE_WINE_PREFIX="$WINEPREFIX" >/dev/null
cmake --build "$root/build" --target wine_show_tests
(cd "$root/build" && ctest --output-on-failure -L wine)

echo "== the zip and the installer"
# shellcheck disable=SC2046
"$root/scripts/check-windows-package.sh" $("$root/scripts/package-windows.sh" "$windows" | tail -2)
