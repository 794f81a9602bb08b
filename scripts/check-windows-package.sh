#!/usr/bin/env bash
# Tries the two Windows downloads the way a user would, under Wine on a private Xvfb:
#
#   scripts/check-windows-package.sh ZIP SETUP [SCREENSHOT.png]
#   (the paths scripts/package-windows.sh prints)
#
# In a fresh Wine prefix: unpacks the zip, runs its showcase.exe --version and then the show, from
# a folder with no pictures (so they must come from beside the exe), checks that no "Error" box
# came up and that Escape ends it with status 27; installs with "SETUP /S /KIOSK", checks the
# files, the all-users Start-menu shortcut, the show-floor Startup shortcut and the uninstall key, runs the installed show the same way
# (SCREENSHOT.png is taken of it); upgrades with "SETUP /S" while a file is held open (it must fail
# and change nothing) and over a running plain, kiosk and watched kiosk show (they must be closed,
# no old show left and the exe replaced); uninstalls under a running watched kiosk show (the
# show-floor start's) and checks that nothing of it is left. Stops at the first failure with one line on stderr. Every wait has a time limit;
# the prefix, the X server and every Wine process are gone at the end, whatever happened. The
# prefix's HOME is private too, so Wine puts no menu entries or icons on this machine's desktop.
set -eEuo pipefail
zip=$(realpath "${1:?usage: check-windows-package.sh ZIP SETUP [SCREENSHOT.png]}")
setup=$(realpath "${2:?usage: check-windows-package.sh ZIP SETUP [SCREENSHOT.png]}")
shot=${3:+$(realpath -m "$3")}

fail() { echo "check-windows-package: $*" >&2; exit 1; }
trap 'fail "unexpected failure (status $?) at line $LINENO: $BASH_COMMAND"' ERR
[[ $(basename "$zip") =~ ^showcase-([0-9.]+)-win64\.zip$ ]] || fail "$zip: not a showcase-<version>-win64.zip"
version=${BASH_REMATCH[1]}
[[ $(basename "$setup") == "showcase-$version-win64-setup.exe" ]] || fail "$setup: not the installer of $version"
for tool in wine wineboot wineserver Xvfb xdotool unzip strings; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh --windows)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/check-windows-package.XXXXXX")
export WINEPREFIX=$work/prefix HOME=$work/home WINEDEBUG=-all LANG=en_US.UTF-8
# No Mono or Gecko to offer, and no Start-menu entries mirrored into the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset LC_ALL XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
server="" app=""
cleanup() {
  trap - ERR
  if [[ -n $app ]]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  [[ -d $WINEPREFIX ]] && timeout 20 wineserver -k 2>/dev/null || true
  if [[ -n $server ]]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$HOME" "$work/elsewhere"

now() { echo "${EPOCHREALTIME/./}"; }  # microseconds
seconds() { local t=$(( $(now) - $1 )); printf '%d.%d s' $((t / 1000000)) $((t % 1000000 / 100000)); }
started=$(now)

# A private X server on a free display.
exec {report}<> <(:)
Xvfb -displayfd "$report" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
read -r -t 10 -u "$report" number || fail "Xvfb did not start within 10 s"
export DISPLAY=":$number"

t=$(now)
timeout 180 wineboot -i >/dev/null 2>&1 || fail "wineboot -i failed or took over 180 s"
time_prefix=$(seconds "$t")

# The same tree as the zip: exe, LICENSE.txt, README.txt and the nineteen pictures.
check_tree() {  # FOLDER WHAT
  local f
  for f in showcase.exe LICENSE.txt README.txt; do [[ -f $1/$f ]] || fail "$2: no $f"; done
  local pictures=("$1"/picture/*.bmp)
  [[ ${#pictures[@]} == 19 && -f ${pictures[0]} ]] || fail "$2: ${#pictures[@]} pictures, not 19"
}

# The message boxes of a picture that cannot be read, or of a window that cannot be opened.
no_error_box() {  # WHAT
  local box
  box=$(xdotool search --name "error" 2>/dev/null | head -1) || true
  [[ -z $box ]] || fail "$1: a box '$(xdotool getwindowname "$box")' came up (pictures missing or unreadable?)"
}

# Starts a command line (wine's arguments) from a folder without pictures and waits until the
# show's window is up with no "Error" box; $app is the wine process, $id the window.
start_show() {  # WHAT WINE-ARGUMENTS...
  local what=$1 status i
  shift
  (cd "$work/elsewhere" && exec timeout 120 wine "$@") >"$work/show.log" 2>&1 &
  app=$! id=""
  for ((i = 0; i < 120; i++)); do
    no_error_box "$what"
    id=$(xdotool search --onlyvisible --name "Zelvo" 2>/dev/null | head -1) || true
    [[ -n $id ]] && break
    kill -0 "$app" 2>/dev/null || { status=0; wait "$app" || status=$?; app=""; fail "$what: ended with status $status before its window came up"; }
    sleep 0.5
  done
  [[ -n $id ]] || fail "$what: no window named Zelvo within 60 s"
}

# Waits up to 20 s for the show started by start_show to end; $status is its exit status.
show_ended() {  # WHAT
  local i
  for ((i = 0; i < 40; i++)); do kill -0 "$app" 2>/dev/null && sleep 0.5; done
  kill -0 "$app" 2>/dev/null && fail "$1: still running after 20 s"
  status=0; wait "$app" || status=$?; app=""
}

# Runs the exe (a Unix or Windows path) from a folder without pictures: --version, then the show
# until its window is up, no "Error" box, Escape, status 27.
check_show() {  # EXE WHAT
  local exe=$1 what=$2 out
  out=$(cd "$work/elsewhere" && timeout 60 wine "$exe" --version 2>&1) || fail "$what: --version ended with status $?"
  out=${out//$'\r'/}
  [[ ${out%%$'\n'*} == "showcase $version" ]] || fail "$what: --version says '${out%%$'\n'*}', not 'showcase $version'"
  start_show "$what" "$exe"
  sleep 3
  no_error_box "$what"
  kill -0 "$app" 2>/dev/null || fail "$what: ended within 3 s of opening its window"
  if [[ -n ${3:-} ]]; then import -window root "$3"; fi
  # Held like a finger does: the show reads its keys between frames, and a frame of software GL
  # takes longer than xdotool's tap.
  timeout 10 xdotool windowfocus --sync "$id" keydown Escape sleep 0.3 keyup Escape || fail "$what: could not press Escape on its window"
  show_ended "$what after Escape"
  [[ $status == 27 ]] || fail "$what: exit status $status after Escape, not 27"
}

# The portable zip: one top folder; unpacked into a folder with a space in its name.
t=$(now)
top=showcase-$version-win64
unzip -Z1 "$zip" | grep -v "^$top/" >/dev/null && fail "$zip: an entry outside $top/"
unpacked="$work/My Downloads"
unzip -q "$zip" -d "$unpacked" || fail "$zip: unzip failed"
check_tree "$unpacked/$top" "zip"
check_show "$unpacked/$top/showcase.exe" "zip: showcase.exe"
time_zip=$(seconds "$t")
echo "zip: unpacked, --version, show from another folder, Escape -> 27: ok"

# The installer, silent, to the default folder.
t=$(now)
(cd "$work/elsewhere" && timeout 120 wine "$setup" /S /KIOSK) || fail "$setup /S /KIOSK ended with status $? (124: over 120 s)"
time_install=$(seconds "$t")
installed="$WINEPREFIX/drive_c/Program Files/Showcase"
[[ -f $installed/uninstall.exe ]] || fail "installer: no Program Files\\Showcase\\uninstall.exe"
diff -r -x uninstall.exe "$unpacked/$top" "$installed" >/dev/null || fail "installer: Program Files\\Showcase differs from the zip's folder"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Showcase.lnk"
[[ -f $shortcut ]] || fail "installer: no Showcase.lnk in the all-users Start menu"
strings -el "$shortcut" | grep -x 'C:\\Program Files\\Showcase' >/dev/null ||
  fail "installer: the shortcut does not start in C:\\Program Files\\Showcase"
# /KIOSK: the show-floor start in the all-users Startup folder.
kiosk="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp/Showcase show floor.lnk"
[[ -f $kiosk ]] || fail "installer: /KIOSK left no 'Showcase show floor.lnk' in the all-users Startup folder"
strings -el "$kiosk" | grep -qx -- '--watchdog --kiosk' || fail "installer: the Startup shortcut does not pass --watchdog --kiosk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Showcase'
values=$(timeout 60 wine reg query "$key" /reg:64 2>/dev/null | tr -d '\r') || fail "installer: no uninstall key $key"
grep -Eq "^ +DisplayVersion +REG_SZ +$version$" <<<"$values" || fail "installer: the uninstall key has no DisplayVersion $version"
grep -Fq 'QuietUninstallString    REG_SZ    "C:\Program Files\Showcase\uninstall.exe" /S' <<<"$values" ||
  fail "installer: the uninstall key has no QuietUninstallString with /S"
echo "installer: /S /KIOSK, files, Start-menu and Startup shortcuts, uninstall key: ok"

t=$(now)
check_show 'C:\Program Files\Showcase\showcase.exe' "installed showcase.exe" "$shot"
time_run=$(seconds "$t")
echo "installed: --version, show from another folder, Escape -> 27: ok${shot:+ (screenshot $shot)}"

# Upgrades while the show runs. The installed exe gets a tail first, so that "replaced" shows.
exe="$installed/showcase.exe"
new_exe="$unpacked/$top/showcase.exe"
tag() { echo "old" >>"$exe"; cp "$exe" "$work/old.exe"; }
# A file held open by another program: a portable show whose input is the installed README.txt.
# The upgrade fails, changes nothing and leaves that show (the same name, another file) alone.
t=$(now)
tag
printf '"%s" < "C:\\Program Files\\Showcase\\README.txt"\r\n' "$(winepath -w "$new_exe")" >"$work/hold.bat"
start_show "portable show holding README.txt" cmd /c "$(winepath -w "$work/hold.bat")"
held=0; (cd "$work/elsewhere" && timeout 120 wine "$setup" /S) || held=$?
[[ $held != 0 ]] || fail "upgrade with README.txt held open: exit status 0"
cmp -s "$exe" "$work/old.exe" || fail "upgrade with README.txt held open (status $held): showcase.exe was changed"
[[ -z $(find "$installed" -name '~*') ]] || fail "upgrade with README.txt held open: left $(find "$installed" -name '~*' | head -1)"
kill -0 "$app" 2>/dev/null || fail "upgrade with README.txt held open: it ended the portable show"
timeout 10 xdotool windowfocus --sync "$id" keydown Escape sleep 0.3 keyup Escape || fail "could not press Escape on the portable show"
show_ended "portable show"
out=$(cd "$work/elsewhere" && timeout 60 wine 'C:\Program Files\Showcase\showcase.exe' --version 2>&1) || fail "after the failed upgrade the old showcase.exe does not start (status $?)"
echo "upgrade with a file held open: status $held, nothing changed, the portable show left running: ok"
# The Linux processes of every installed showcase.exe running in this prefix.
shows_running() {
  local pid
  for pid in $(pgrep -f 'Showcase\\showcase\.exe'); do
    grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && echo "$pid"
  done
  return 0
}
for mode in "" --kiosk "--watchdog --kiosk"; do
  what="silent upgrade over a running ${mode:-plain} show"
  tag
  # shellcheck disable=SC2086
  start_show "$what" 'C:\Program Files\Showcase\showcase.exe' $mode
  old_shows=$(shows_running)
  (cd "$work/elsewhere" && timeout 120 wine "$setup" /S) || fail "$what: exit status $?"
  show_ended "$what: the old show"
  [[ $status == 0 ]] || fail "$what: the old show ended with status $status, not 0 (by force, not on the close request?)"
  # A process that has ended but is not reaped yet (a zombie, no command line left) has ended.
  for pid in $old_shows; do
    [[ $(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null) =~ ^[^ZX]$ ]] &&
      fail "$what: an old show is still running: $(tr '\0' ' ' </proc/"$pid"/cmdline)"
  done
  cmp -s "$exe" "$new_exe" || fail "$what: showcase.exe not replaced"
  [[ -f $kiosk ]] || fail "$what: the show-floor start is gone"
  echo "$what: status 0, the old show closed on request, no old show left, showcase.exe replaced, show-floor start kept: ok"
done
time_upgrade=$(seconds "$t")

# The uninstaller hands over to a copy of itself in the temp folder and returns at once; as
# README.txt says, such a copy run with _?= waits and gives the uninstall's own status.
t=$(now)
start_show "watched kiosk show" 'C:\Program Files\Showcase\showcase.exe' --watchdog --kiosk
cp "$installed/uninstall.exe" "$WINEPREFIX/drive_c/windows/temp/u.exe"
status=0
(cd "$work/elsewhere" && timeout 60 wine cmd /c 'start /wait "" C:\windows\temp\u.exe /S _?=C:\Program Files\Showcase') || status=$?
rm "$WINEPREFIX/drive_c/windows/temp/u.exe"
# (Wine hands on only the low 8 bits of a status: 3010, a file left for the restart, shows as 194.)
[[ $status == 0 ]] || fail "uninstall under a running watched kiosk show: exit status $status"
show_ended "uninstall under a running watched kiosk show: the watchdog"
[[ $status == 0 ]] || fail "uninstall under a running watched kiosk show: the watchdog ended with status $status, not 0 (by force?)"
[[ -z $(shows_running) ]] || fail "uninstall under a running watched kiosk show: a show is still running"
time_uninstall=$(seconds "$t")
[[ -e $installed ]] && fail "uninstaller: Program Files\\Showcase is still there: $(cd "$installed" && find . -mindepth 1 | head -3 | tr '\n' ' ')"
[[ -e $shortcut ]] && fail "uninstaller: the Start-menu shortcut is still there"
[[ -e $kiosk ]] && fail "uninstaller: the show-floor Startup shortcut is still there"
timeout 60 wine reg query "$key" /reg:64 >/dev/null 2>&1 && fail "uninstaller: the uninstall key is still there"
# Nothing of ours runs any more: the rest of the prefix is ended, which writes out its registry.
timeout 20 wineserver -k || true
left=$(find "$WINEPREFIX/drive_c" -iname '*showcase*' | head -3)
[[ -z $left ]] || fail "uninstaller: left $left"
left=$(grep -il showcase "$WINEPREFIX"/*.reg || true)
[[ -z $left ]] || fail "uninstaller: 'showcase' still in the registry: $(grep -i -m1 showcase $left)"
echo "uninstaller under a running watched kiosk show: status 0, the watchdog and its show closed on request, nothing left in drive_c or the registry: ok"

size() { numfmt --to=iec-i --suffix=B "$(stat -c %s "$1")"; }
echo
echo "zip        $(basename "$zip")  $(size "$zip")"
echo "installer  $(basename "$setup")  $(size "$setup")"
echo "times      new prefix $time_prefix, zip $time_zip, install $time_install, installed run $time_run," \
  "upgrades $time_upgrade, uninstall $time_uninstall, all $(seconds "$started")"
