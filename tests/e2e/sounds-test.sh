#!/usr/bin/env bash
# The sounds as heard on a sound card. A PulseAudio pipe sink writes what is
# played, in real time, to a file, while sound_driver uses the program a key
# at a time and then closes it, one way of closing after another. Each run
# must give each sound at its step and nothing else: the start sound, the
# load sound for the disc's and the game's descriptions, the click of the
# launch, nothing for the read-me, and the stop sound whole before the
# program ends. heard.awk tells the sounds in the recording, through the
# gaps a busy machine leaves in a tone.
# Usage: sounds-test.sh BUILD_DIR
set -uo pipefail
build="$(cd "$1" && pwd)"
"$build/wine-run.sh" --ready || exit 1
work="$build/sounds"
rm -rf "$work" && mkdir -p "$work/run" "$work/home"
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
socket="$work/native"
mkfifo "$work/fifo"
cat "$work/fifo" >"$work/played.raw" &
reader=$!
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  --load="module-pipe-sink file=$work/fifo sink_name=varnolt format=s16le rate=44100 channels=1 use_system_clock_for_timing=yes" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$socket" >"$work/pulse.log" 2>&1 &
pulse=$!
export PULSE_SERVER="unix:$socket"
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
cleanup() { kill "$pulse" "$reader" 2>/dev/null; wait "$pulse" "$reader" 2>/dev/null; }
trap cleanup EXIT

failed=0
for way in escape button titlebar alt-f4 logoff; do
  from=$(stat -c %s "$work/played.raw")
  said=$("$build/wine-run.sh" "$build/sound_driver.exe" "$way" 2>>"$work/wine.log" | tr -d '\r')
  sleep 0.5
  tail -c +"$((from + 1))" "$work/played.raw" >"$work/$way.raw"
  heard=$(sox -t raw -r 44100 -e signed -b 16 -c 1 "$work/$way.raw" -t dat - 2>/dev/null |
    awk -f "$(dirname "$0")/heard.awk")
  stop=$(sed -n 's/.*1000:\([0-9]*\) *$/\1/p' <<<"$heard")
  lived=$(sed -n 's/^lived_ms=//p' <<<"$said")
  if [ "$(sed 's/:[0-9]*//g; s/ *$//' <<<"$heard")" = "440 660 660 880 1000" ] && [ "${stop:-0}" -ge 940 ] &&
     [ "${lived:-0}" -ge 950 ] && grep -q "installer=started" <<<"$said" && grep -q "readme=shown" <<<"$said"; then
    echo "closed by $way: heard (Hz:ms) $heard; the program ended $lived ms after the request"
  else
    echo "closed by $way: FAILED (heard '$heard', expected start, load, load, click, stop whole; driver said: $said)"
    failed=$((failed + 1))
  fi
done
echo "$failed of 5 failed"
[ "$failed" -eq 0 ]
