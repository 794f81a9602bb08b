#!/usr/bin/env bash
# Makes the two Windows downloads from a cross-build, on Linux:
#   scripts/package-windows.sh [BUILD_DIR]        (default: build-windows, built first if need be)
# In BUILD_DIR:
#   showcase-<version>-win64.zip        portable: one folder showcase-<version>-win64\ with
#                                       showcase.exe, picture\, LICENSE.txt, README.txt
#   showcase-<version>-win64-setup.exe  the installer, from packaging/windows/showcase.nsi
# Both hold the tree `cmake --install` lays out. The zip is reproducible: every entry has the
# same time (SOURCE_DATE_EPOCH, or the last commit's), they are sorted, and no extra attributes
# are stored. The last two lines on stdout are the paths of the zip and of the installer.
# Check them under Wine with scripts/check-windows-package.sh.
set -euo pipefail
export LC_ALL=C  # the order of the entries in both
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-windows}")
die() { echo "package-windows: $*" >&2; exit 1; }

"$root/scripts/install-deps.sh" --windows >&2
if [[ ! -f $build/packaging/windows/show-control.exe ]]; then
  [[ $build == "$root/build-windows" ]] || die "no show-control.exe in $build; build it first"
  "$root/scripts/build-windows.sh" >&2
else
  cmake --build "$build" --target showcase show-control >&2  # not a stale exe
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || die "no x.y.z project version in $build/CMakeCache.txt"
name=showcase-$version-win64
stage=$build/windows-package
zip=$build/$name.zip
setup=$build/$name-setup.exe

rm -rf "$stage"
mkdir -p "$stage"
cmake --install "$build" --prefix "$stage/$name" >&2
for f in showcase.exe LICENSE.txt README.txt; do
  [[ -f $stage/$name/$f ]] || die "the install tree has no $f"
done
shopt -s nullglob
pictures=("$stage/$name"/picture/*.bmp)
((${#pictures[@]} > 0)) || die "the install tree has no pictures"

# Same modes and times on every build.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1478476800)}
find "$stage/$name" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
chmod 755 "$stage/$name/showcase.exe"
find "$stage/$name" -exec touch -h -d "@$epoch" {} +

rm -f "$zip"
(cd "$stage" && find "$name" | sort | TZ=UTC zip -q -X -9 -@ "$zip")

# The pictures by name, for the installer to install and the uninstaller to remove one by one.
list=$stage/pictures.nsh
printf '${Picture} "%s"\n' "${pictures[@]##*/}" >"$list"
rm -f "$setup"
makensis -V2 -INPUTCHARSET UTF8 \
  -DVERSION="$version" -DSTAGE="$stage/$name" -DPICTURES="$list" \
  -DICON="$root/packaging/icons/showcase.ico" -DSHOW_CONTROL="$build/packaging/windows/show-control.exe" \
  -DOUTFILE="$setup" \
  "$root/packaging/windows/showcase.nsi" >&2

echo "$zip"
echo "$setup"
