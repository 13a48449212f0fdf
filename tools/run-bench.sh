#!/usr/bin/env bash
# Builds the Windows program and the benchmarks, then measures under Wine and
# prints the figures of:
#   startup    Varnolt's start-up against an empty window and against its own
#              window without its logic (SameWindow.exe);
#   selection  choosing a game with a 0.3, 2 or 24 MP screenshot, time and
#              memory, against the simple way (SimpleSelection.exe);
#   idle       processor time while Varnolt waits, and while its help window
#              is open;
#   check      VarnoltCheck.exe's time and peak memory on the sample disc and
#              on discs of 1,000 and 10,000 games.
#   text       how long the window stops answering when a long description
#              or read-me is shown, against 1 s (200 ms up to 64 KB).
#   slowdisc   moving through 200 games on a slow drive (no delay, 100 ms and
#              150 ms a first access): the window's answers, what is read.
#   pictures   the window's answers and the process's peak memory while the
#              largest pictures it accepts (of each format and depth) decode.
# Usage: tools/run-bench.sh [--only PART[,PART...]] [--runs N] [--games N,N,...]
#                           [--texts WORD] [OTHER_VARNOLT_EXE...]
# --runs applies to every part, --games to the start-up, --texts to the texts
# (only those whose label holds WORD: "tabs", "64 KB"), and other builds of
# Varnolt (each with its own file name, measured in the same rounds as this
# one, for comparing a change with the program as it was) to the start-up,
# the texts, the slow drive and the pictures.
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
usage="usage: tools/run-bench.sh [--only startup,selection,idle,check,text,slowdisc,pictures] [--runs N] [--games N,N,...] [--texts WORD] [OTHER_VARNOLT_EXE...]"
options=()
runs=()
texts=()
others=()
parts="startup,selection,idle,check,text"
while [ $# -gt 0 ]; do
  case "$1" in
    --runs | --games | --only | --texts)
      [ $# -ge 2 ] || { echo "run-bench: $1 needs a value" >&2; exit 2; }
      case "$1" in
        --only) parts="$2" ;;
        --texts) texts=("$1" "$2") ;;
        --runs) runs=("$1" "$2"); options+=("$1" "$2") ;;
        *) options+=("$1" "$2") ;;
      esac
      shift 2
      ;;
    -*) echo "$usage" >&2; exit 2 ;;
    *)
      [ -f "$1" ] || { echo "run-bench: no such program: $1" >&2; exit 2; }
      others+=("$(windows_path "$1")")
      shift
      ;;
  esac
done

wants() { [[ ",$parts," == *",$1,"* ]]; }
for part in ${parts//,/ }; do
  case "$part" in
    startup | selection | idle | check | text | slowdisc | pictures) ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done

cd "$root"
bash tools/setup.sh
cmake --preset win64 >/dev/null
targets=(Varnolt)
wants startup && targets+=(EmptyWindow SameWindow StartupBench)
wants selection && targets+=(SimpleSelection SelectionBench)
wants idle && targets+=(IdleCpuBench)
wants check && targets+=(VarnoltCheck CheckBench sample_disc)
wants text && targets+=(TextBench)
wants slowdisc && targets+=(SlowDiscBench)
wants pictures && targets+=(PictureBench)
cmake --build --preset win64 --target "${targets[@]}" >/dev/null

# The selection's screenshots: JPEGs of quality 90 (Wine's own encoder does
# not take a quality), colour gradients under fine noise so that they are
# about as large as photographs of their size.
pictures="$build/bench/pictures"
if wants selection; then
  rm -rf "$pictures"
  mkdir -p "$pictures"
  for size in 160x120 640x480 1600x1200 6000x4000; do
    convert -size "$size" gradient:'#20407a-#e8b048' \( -size "$size" radial-gradient:'#ffffff-#202020' \) \
      -compose softlight -composite -attenuate 0.5 +noise Gaussian \
      -quality 90 -sampling-factor 2x2 "$pictures/$size.jpg"
  done
fi

# The slow drive: a library preloaded into Wine's processes (see
# bench/SlowDrive.c), and a screenshot of some 700 KB for each game.
if wants slowdisc; then
  mkdir -p "$pictures"
  cc -shared -fPIC -O2 -Wall -Wextra -Werror -o "$build/bench/SlowDrive.so" bench/SlowDrive.c -ldl -lpthread
  convert -size 1600x1200 gradient:'#20407a-#e8b048' -attenuate 0.6 +noise Gaussian \
    -quality 92 -sampling-factor 2x2 "$pictures/slowdisc.jpg"
fi

# The largest pictures of each format and depth that Varnolt accepts, and a
# 16-bit one over its limit: plain colours, since what a decoder holds
# depends on the size and depth alone. Made once, being slow to make.
big="$build/bench/pictures/big"
if wants pictures; then
  mkdir -p "$big"
  # make_big FILE SIZE COLOUR FORMAT [OPTION...]
  make_big() {
    if [ ! -s "$big/$1" ]; then
      convert -size "$2" "$3" "${@:5}" "$4:$big/$1.part" && mv "$big/$1.part" "$big/$1"
    fi
  }
  make_big jpeg-100mp.jpg 10000x10000 xc:'#3060a0' JPEG -quality 90
  make_big png8-100mp.png 10000x10000 xc:'#3060a080' PNG32 -depth 8
  make_big png16-50mp.png 10000x5000 xc:'#3060a080' PNG64 -depth 16
  make_big png16-100mp.png 10000x10000 xc:'#3060a080' PNG64 -depth 16
  make_big bmp32-100mp.bmp 10000x10000 xc:'#3060a080' BMP -define bmp:format=bmp4
fi

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
: >"$log"
failed=0
run() {
  local name="$1" status=0
  shift
  echo
  LC_ALL="$VARNOLT_LC_ALL" /usr/lib/wine/wine64 "$build/$name.exe" "$@" 2>>"$log" </dev/null || status=$?
  if [ "$status" -ne 0 ]; then
    echo "run-bench: $name failed ($status); Wine's messages are in $log" >&2
    failed=$status
  fi
}
varnolt="$(windows_path "$build/Varnolt.exe")"
if wants startup; then
  run StartupBench ${options[@]+"${options[@]}"} "$varnolt" "$(windows_path "$build/EmptyWindow.exe")" \
    "$(windows_path "$build/SameWindow.exe")" ${others[@]+"${others[@]}"}
fi
if wants selection; then
  run SelectionBench ${runs[@]+"${runs[@]}"} --pictures "$(windows_path "$pictures")" "$varnolt" \
    "$(windows_path "$build/SimpleSelection.exe")"
fi
if wants idle; then
  run IdleCpuBench ${runs[@]+"${runs[@]}"} "$varnolt"
fi
if wants check; then
  run CheckBench ${runs[@]+"${runs[@]}"} "$(windows_path "$build/VarnoltCheck.exe")" \
    "$(windows_path "$build/disc")"
fi
if wants text; then
  run TextBench ${runs[@]+"${runs[@]}"} ${texts[@]+"${texts[@]}"} "$varnolt" ${others[@]+"${others[@]}"}
fi
if wants slowdisc; then
  export LD_PRELOAD="$build/bench/SlowDrive.so" VARNOLT_SLOW_MARK=varnolt-slowdisc \
    VARNOLT_SLOW_LOG="$build/bench/slowdisc.log" VARNOLT_SLOW_CONFIG="$build/bench/slowdisc.conf"
  : >"$VARNOLT_SLOW_LOG"
  : >"$VARNOLT_SLOW_CONFIG"
  run SlowDiscBench ${runs[@]+"${runs[@]}"} --pictures "$(windows_path "$pictures")" "$varnolt" \
    ${others[@]+"${others[@]}"}
  unset LD_PRELOAD VARNOLT_SLOW_CONFIG
fi
if wants pictures; then
  run PictureBench ${runs[@]+"${runs[@]}"} --pictures "$(windows_path "$big")" "$varnolt" \
    ${others[@]+"${others[@]}"}
fi
exit "$failed"
