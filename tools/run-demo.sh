#!/usr/bin/env bash
# Shows Varnolt on its sample disc: installs what is needed (Debian 12),
# builds the 64-bit Windows program with the disc, and runs it under Wine.
#
# With a working X display the program opens there and the script waits
# until it is closed. Without one it runs on a virtual display, saves a
# picture of its window to build/win64/varnolt-demo.png and closes it.
# Wine's own messages go to build/win64/varnolt-demo.log.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build="$root/build/win64"
disc="$build/disc"
log="$build/varnolt-demo.log"
picture="$build/varnolt-demo.png"
wine=/usr/lib/wine/wine64

say() { echo "run-demo: $*"; }

bash tools/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64
[ -f "$disc/Varnolt.exe" ] || { say "no $disc/Varnolt.exe after the build" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  interactive=1
  export VARNOLT_USE_DISPLAY=1
else
  interactive=0
  unset VARNOLT_USE_DISPLAY
fi

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
program_pid=""
finish() {
  local status=$?
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    /usr/lib/wine/wineserver -k 2>/dev/null || true
  fi
  wine_env_stop
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM

say "preparing Wine (the first time takes a minute)"
: >"$log"
# A step of it that fails shows up below as a window that never appears.
set +e
wine_env_start "$build" 2>>"$log"
set -e

say "starting $disc/Varnolt.exe"
(cd "$disc" && LC_ALL=ru_RU.UTF-8 exec "$wine" "$disc/Varnolt.exe") </dev/null >>"$log" 2>&1 &
program_pid=$!

if [ "$interactive" = 1 ]; then
  say "Varnolt is open on $DISPLAY; close it (Esc) to end the demo"
  status=0
  wait "$program_pid" || status=$?
  program_pid=""
  say "Varnolt ended (exit code $status)"
  exit "$status"
fi

# The program's main window: the largest shown top-level X window of
# Varnolt.exe (Wine gives each the class "varnolt.exe"; the 1x1 ones are
# Wine's helpers).
find_window() {
  local id
  for id in $(xwininfo -root -children 2>/dev/null |
    awk 'tolower($0) ~ /\("varnolt\.exe" "varnolt\.exe"\)/ { print $1 }'); do
    xwininfo -id "$id" 2>/dev/null |
      awk -v id="$id" '/Map State:/ { shown = ($3 == "IsViewable") }
        /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
        END { if (shown && w > 100 && h > 100) print w * h, id }'
  done | sort -n | tail -n 1 | cut -d' ' -f2
}
window=""
for _ in $(seq 100); do  # up to about 20 s
  window=$(find_window) || window=""
  [ -n "$window" ] && break
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.2
done
if [ -z "$window" ]; then
  say "the Varnolt window did not appear; Wine's messages are in $log" >&2
  exit 1
fi

sleep 2  # let it paint
# Choose the first game, as a user would with the Down key, so that the
# picture shows its description and screenshot.
if command -v xdotool >/dev/null; then
  xdotool key --delay 300 Down Down >>"$log" 2>&1 || true
  sleep 1
fi
import -window "$window" "$picture"
say "picture of the window: $picture"

# taskkill asks the window to close, as the close box does.
"$wine" taskkill /im Varnolt.exe >>"$log" 2>&1 || true
for _ in $(seq 50); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$program_pid" 2>/dev/null; then
  say "Varnolt did not close when asked; ending it" >&2
  /usr/lib/wine/wineserver -k 2>/dev/null || true
fi
wait "$program_pid" 2>/dev/null || true
program_pid=""
say "done"
