#!/usr/bin/env bash
# Tries a built .deb on a clean Debian 12 root, as a new machine would get it:
#
#   scripts/check-package.sh build-package/showcase_1.0.0_amd64.deb [SCREENSHOT.png]
#
# Unpacks the minimal base root that ../shared/tools/fresh-debian.sh keeps in
# /var/tmp/fresh-debian-minbase.tar into $PACK_ROOT (default /var/tmp/pack-root), installs the
# package there with apt (which must bring every run-time dependency), checks the installed
# files, starts `showcase` from /root under Xvfb and takes a screenshot, then purges the package
# and looks for anything of it left behind. Needs root and apt access; unmounts what it bound.
set -euo pipefail
deb=$(realpath "${1:?usage: check-package.sh PACKAGE.deb [SCREENSHOT.png]}")
shot=$(realpath -m "${2:-$(dirname "$deb")/installed-showcase.png}")
root=${PACK_ROOT:-/var/tmp/pack-root}
base=/var/tmp/fresh-debian-minbase.tar
display=${PACK_DISPLAY:-:91}
[[ -f $base ]] || { echo "check-package: $base is missing; make it with ../shared/tools/fresh-debian.sh true" >&2; exit 2; }

unbind() { for m in dev/shm dev/pts dev sys proc; do umount -l "$root/$m" 2>/dev/null || true; done; }
unbind
if grep -q " $root/" /proc/mounts; then echo "check-package: $root still has mounts" >&2; exit 2; fi
rm -rf "$root"; mkdir -p "$root"; tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf"
[[ -f /etc/apt/sources.list.d/debian.sources ]] && cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/"
cp "$deb" "$root/root/"
for m in proc sys dev dev/pts dev/shm; do mkdir -p "$root/$m"; mount --bind "/$m" "$root/$m"; done
trap unbind EXIT

chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive DEB=$(basename "$deb") DISPLAY="$display" bash -euo pipefail -c '
cd /root
step() { echo; echo "== $*"; }
step "apt-get install ./$DEB"
apt-get update -qq
apt-get install -y -q "./$DEB" | grep -E "^(Setting up|Selecting|The following NEW)|^  " || true
step "dpkg -s showcase"
dpkg -s showcase | grep -E "^(Version|Depends|Recommends|Installed-Size|Section):"
step "libraries the program links, none missing"
if ldd /usr/bin/showcase | grep "not found"; then exit 1; fi
echo "all found"
step "the font of the button labels"
fc-match "sans-serif:lang=ru"
step "dpkg -L showcase"
dpkg -L showcase | tee /root/files.txt
step "desktop entry and icons where a desktop looks for them"
ls -l /usr/share/applications/org.example.showcase.desktop /usr/share/icons/hicolor/*/apps/org.example.showcase.png

step "showcase from /root under Xvfb"
apt-get install -y -qq --no-install-recommends xvfb xauth xdotool imagemagick >/dev/null
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/root/xvfb.log 2>&1 &
xvfb=$!
sleep 2
showcase >/root/showcase.log 2>&1 &
program=$!
sleep 8
import -window root /root/shot.png
if kill -0 "$program"; then echo "showcase still running after 8 s"; else echo "showcase ended early"; fi
xdotool keydown Escape; sleep 0.2; xdotool keyup Escape
(sleep 15; kill -9 "$program" 2>/dev/null) &
watchdog=$!
status=0
wait "$program" || status=$?
kill "$watchdog" 2>/dev/null || true
echo "exit status after Escape: $status"
kill "$xvfb"; wait "$xvfb" 2>/dev/null || true
echo "its output:"; cat /root/showcase.log

step "apt-get purge showcase"
apt-get purge -y -q showcase | grep -E "^(Removing|Purging)" || true
left=0
while read -r path; do
  [[ $path == /. ]] && continue
  if [[ -f $path || -L $path ]]; then echo "left behind: $path"; left=1; fi
  if [[ -d $path ]] && ! dpkg -S "$path" >/dev/null 2>&1; then echo "left behind: $path/"; left=1; fi
done </root/files.txt
found=$(find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /root \) -prune -o \
  -iname "*showcase*" -print)
if [[ -n $found ]]; then echo "left behind: $found"; left=1; else echo "find / -iname \"*showcase*\" (but /root): nothing"; fi
[[ $status == 27 ]] && exit $left
exit 1
'
cp "$root/root/shot.png" "$shot"
echo "screenshot: $shot"
