#!/usr/bin/env bash
# Every way of closing Varnolt plays the stop sound to its end before the
# program ends, as heard on a sound card: a PulseAudio pipe sink writes what
# is played, in real time, to a file, while audio_closer closes the program
# one way after another; the stop sound's tone is then measured in it.
# Usage: stop-sound-test.sh BUILD_DIR
set -uo pipefail
build="$(cd "$1" && pwd)"
work="$build/stop-sound"
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

passed=0 failed=0
for kind in button escape titlebar alt-f4 logoff; do
  from=$(stat -c %s "$work/played.raw")
  result=$("$build/wine-run.sh" "$build/audio_closer.exe" "$kind" 2>>"$work/wine.log" | tr -d '\r')
  sleep 0.5
  to=$(stat -c %s "$work/played.raw")
  # What was played during this run; of it, the stop sound alone: a narrow
  # band around 1000 Hz with its quiet ends trimmed.
  tail -c +"$((from + 1))" "$work/played.raw" | head -c "$((to - from))" >"$work/$kind.raw"
  tone=$(sox -t raw -r 44100 -e signed -b 16 -c 1 "$work/$kind.raw" -n sinc 900-1100 \
           silence 1 0.02 3% reverse silence 1 0.02 3% reverse stat 2>&1 | awk '/^Length/ {print $3}')
  lived=$(sed -n 's/^lived_ms=//p' <<<"$result")
  if [ -n "$lived" ] && [ -n "$tone" ] && awk -v t="$tone" -v l="$lived" 'BEGIN {exit !(t >= 0.95 && t <= 1.1 && l >= 950)}'; then
    echo "stop sound, $kind: heard ${tone} s of the 1.0 s tone; the program ended ${lived} ms after the request"
    passed=$((passed + 1))
  else
    echo "stop sound, $kind: FAILED (tone '${tone}' s, program lived '${lived}' ms; closer said: $result)"
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
