#!/usr/bin/env bash
# Builds the Windows program and the benchmarks, then measures Varnolt's
# start-up under Wine against an empty window and prints the figures.
# Usage: tools/run-bench.sh [--runs N] [--games N,N,...] [OTHER_VARNOLT_EXE...]
# Other builds of Varnolt (each with its own file name) are measured in the
# same rounds as this one, for comparing a change with the program as it was.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

build="$root/build/win64"
log="$build/bench/wine.log"

# Wine's drive Z: is the Unix root.
windows_path() {
  local unix
  unix="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
  printf 'Z:%s' "${unix//\//\\}"
}
options=()
others=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs | --games)
      [ $# -ge 2 ] || { echo "run-bench: $1 needs a value" >&2; exit 2; }
      options+=("$1" "$2")
      shift 2
      ;;
    -*) echo "usage: tools/run-bench.sh [--runs N] [--games N,N,...] [OTHER_VARNOLT_EXE...]" >&2; exit 2 ;;
    *)
      [ -f "$1" ] || { echo "run-bench: no such program: $1" >&2; exit 2; }
      others+=("$(windows_path "$1")")
      shift
      ;;
  esac
done

cd "$root"
bash tools/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Varnolt EmptyWindow StartupBench >/dev/null

# A raised priority (where allowed) keeps builds running beside the
# benchmark from showing in its figures; the display, Wine and its server,
# all started from here on, inherit it.
if renice -n -10 -p $$ >/dev/null 2>&1; then
  echo "run-bench: running at raised priority (nice -10)"
else
  echo "run-bench: running at normal priority; other work on this machine shows in the figures"
fi

# The benchmark's own Wine prefix and server, so that stopping them never
# stops tests that run in the build's prefix at the same time.
# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
wine_env_start "$build/bench"
trap wine_env_stop EXIT

# Wine's own complaints (no sound device and the like) go to the log; the
# benchmark prints its figures on standard output.
status=0
LC_ALL="$VARNOLT_LC_ALL" /usr/lib/wine/wine64 "$build/StartupBench.exe" ${options[@]+"${options[@]}"} \
  "$(windows_path "$build/Varnolt.exe")" "$(windows_path "$build/EmptyWindow.exe")" \
  ${others[@]+"${others[@]}"} 2>"$log" </dev/null || status=$?
if [ "$status" -ne 0 ]; then
  echo "run-bench: the benchmark failed ($status); Wine's messages are in $log" >&2
fi
exit "$status"
