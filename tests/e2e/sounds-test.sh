#!/usr/bin/env bash
# The sounds as heard on a sound card. Every way of closing Varnolt plays
# the stop sound to its end before the program ends, and a whole use gives
# each sound at its step. A PulseAudio pipe sink writes what is played, in
# real time, to a file, while sound_driver closes the program one way after
# another, and then uses it a key at a time; the tones are told apart in it.
# Usage: sounds-test.sh BUILD_DIR
set -uo pipefail
build="$(cd "$1" && pwd)"
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

passed=0 failed=0
for kind in button escape titlebar alt-f4 logoff; do
  from=$(stat -c %s "$work/played.raw")
  result=$("$build/wine-run.sh" "$build/sound_driver.exe" "$kind" 2>>"$work/wine.log" | tr -d '\r')
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
# A whole use, a key at a time: the start sound, the load sound for the
# disc's and the game's descriptions, the click of the launch, nothing for
# the read-me, the stop sound whole; in that order and nothing else.
from=$(stat -c %s "$work/played.raw")
result=$("$build/wine-run.sh" "$build/sound_driver.exe" walk 2>>"$work/wine.log" | tr -d '\r')
sleep 0.5
to=$(stat -c %s "$work/played.raw")
tail -c +"$((from + 1))" "$work/played.raw" | head -c "$((to - from))" >"$work/walk.raw"
# 20 ms windows: loudness and zero crossings give each window's pitch; runs
# of one pitch of 60 ms or more are the sounds (a tone's first and last
# window, cut by its edge, read as another pitch).
heard=$(sox -t raw -r 44100 -e signed -b 16 -c 1 "$work/walk.raw" -t dat - 2>/dev/null | awk '
  /^;/ { next }
  { v = $2; n++; sum += v * v; if (n > 1 && (v < 0) != (prev < 0)) zc++; prev = v
    if (n == 882) {
      pitch = "-"
      if (sum / n > 0.0005) {
        f = zc / 2 / 0.02; best = 0
        split("440 660 880 1000", tones, " ")
        for (i in tones) if (best == 0 || (f - tones[i])^2 < (f - best)^2) best = tones[i]
        pitch = best
      }
      if (pitch != last) { if (last != "" && last != "-" && count >= 3) printf "%s:%d ", last, count * 20; last = pitch; count = 0 }
      count++; n = 0; sum = 0; zc = 0
    } }
  END { if (last != "-" && last != "" && count >= 3) printf "%s:%d", last, count * 20 }')
sequence=$(tr ' ' '\n' <<<"$heard" | cut -d: -f1 | tr '\n' ' ' | sed 's/ *$//')
if [ "$sequence" = "440 660 660 880 1000" ] && grep -q "installer=started" <<<"$result" && grep -q "readme=shown" <<<"$result"; then
  echo "a whole use: heard (Hz:ms) $heard; the installer started, the read-me was shown"
  passed=$((passed + 1))
else
  echo "a whole use: FAILED (heard '$heard', expected start, load, load, click, stop; driver said: $result)"
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
