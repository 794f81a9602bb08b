#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the viewer need and that are
# missing here. Safe to run again: it only asks apt for what is not installed yet.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config
  # the picture generator writes the application icon as PNG with stb_image_write
  libstb-dev
  # the program: GL and GLU from Mesa, SDL2 windows, SDL2_ttf text, fontconfig and a font with Cyrillic
  libgl-dev libopengl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev libegl-mesa0
  # the web program's GL 1.1 layer, tested natively over OpenGL ES 2: its header
  libgles-dev
  libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-dejavu-core
  # libX11 for the handler of a lost display connection, libXrandr for the monitors
  libx11-dev libxrandr-dev
  # libsystemd for the service manager's notify protocol and watchdog of the show-floor service
  libsystemd-dev
  # the recorder: FFmpeg's libraries for video (H.264 and VP9 encoders come with libavcodec), libpng for stills
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libpng-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # scripts/mutants.sh rebuilds once per fault; ccache makes the restored files free
  ccache
  # real-window tests: a private X server with the core fonts SDL's message boxes draw with
  # (without them every box falls back to stderr), input and screenshots
  xvfb xauth xfonts-base xdotool imagemagick
  # the show on two monitors: an X server with the dummy driver (Xvfb has one monitor), RandR's
  # xrandr to lay the monitors out, and XFixes to ask whether the pointer is hidden
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils libxfixes-dev
  # install-tree checks: the desktop entry and AppStream validators, the man page formatter, and
  # systemd-analyze with man for the show-floor service
  desktop-file-utils appstream groff-base systemd man-db
)
case "${1:-}" in
  --fuzz) packages+=(clang libclang-rt-14-dev) ;;
  # the Debian package: dpkg-shlibdeps, and lintian to check the result
  --package) packages+=(dpkg-dev file lintian man-db) ;;
  # the show in a web page: Debian's emscripten (node-acorn for its JavaScript optimizer), and
  # for its tests the three engines: Debian's chromium (Blink), firefox-esr (Gecko) and WebKitGTK's
  # WebDriver with its MiniBrowser (WebKit), Xvfb for the two that need a display for WebGL, and
  # npm, which installs the driver (puppeteer-core; WebKit's WebDriver is spoken over plain HTTP);
  # a Node.js that brings its own npm (NodeSource's) must not get Debian's on top
  --web) packages+=(emscripten node-acorn binaryen chromium firefox-esr webkit2gtk-driver xvfb xauth python3)
         command -v npm >/dev/null || packages+=(npm) ;;
  # the GL calls of the two programs recorded and compared (scripts/compare-gl-traces.py)
  --trace) packages+=(apitrace python3) ;;
  # the Windows program: MinGW-w64 (64-bit, POSIX threads), GoogleTest's sources for its tests,
  # Wine to run them and the program, NSIS for the installer, zip for the portable archive
  # and the English and Russian locales the Wine tests run under
  --windows) packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64
                        nsis zip unzip locales) ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
