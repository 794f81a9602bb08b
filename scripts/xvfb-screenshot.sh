#!/usr/bin/env bash
# Runs the viewer on a private Xvfb for a few seconds and saves a screenshot, to look at the
# window without a desktop: scripts/xvfb-screenshot.sh [out.png] [seconds] [WxHxD]
# The program is $SHOWCASE, or build/showcase; it runs from the repository root.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-screenshot.png}")"
seconds="${2:-5}"
screen="${3:-1024x768x24}"
program="${SHOWCASE:-$root/build/showcase}"
[[ -x "$program" ]] || { echo "no program at $program (build first or set SHOWCASE)" >&2; exit 1; }

exec {report}<> <(:)
Xvfb -displayfd "$report" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
server=$!
app=""
cleanup() {
    [[ -n "$app" ]] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
    kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    return 0
}
trap cleanup EXIT
read -r -t 10 -u "$report" number || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"

cd "$root"
"$program" &
app=$!
sleep "$seconds"
kill -0 "$app" 2>/dev/null || { wait "$app" || true; echo "the program ended early" >&2; exit 1; }
import -window root "$out"
echo "$out"
