#!/usr/bin/env bash
# Builds the Debian binary package: installs what building and checking it need, configures a
# Release build for /usr with Debian's hardening flags in build-package/, builds the program,
# runs CPack (which then builds nothing more) and lintian on the result: its findings go to
# stderr, and only an error fails the script. The last line on stdout is the .deb's absolute
# path, so `deb=$(scripts/package.sh)` works.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-package"
"$root/scripts/install-deps.sh" --package >&2

# The flags dpkg-buildpackage would give: fortified, stack-protected, full RELRO, PIE.
# CMake reads no CPPFLAGS, so the preprocessor flags (_FORTIFY_SOURCE) go with the compiler's.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
export CFLAGS="$CPPFLAGS $CFLAGS" CXXFLAGS="$CPPFLAGS $CXXFLAGS"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" --target showcase showcase-record >&2
(cd "$build" && cpack -G DEB >&2)
deb=$(ls -t "$build"/showcase_*.deb | head -1)

echo "lintian:" >&2
status=0
lintian --info --display-level '>=pedantic' "$deb" >&2 || status=$?
if ((status != 0)); then
  echo "package.sh: lintian found errors in $deb" >&2
  exit 1
fi
echo "$deb"
