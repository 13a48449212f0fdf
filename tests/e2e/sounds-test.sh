#!/usr/bin/env bash
# The sounds as heard on a sound card. A PulseAudio pipe sink writes what is
# played, in real time, to a file, while sound_driver uses the program a key
# at a time and then closes it, one way of closing after another. Each run
# must give each sound at its step and nothing else: the start sound, the
# load sound for the disc's and the game's descriptions, the click of the
# launch, nothing for the read-me, and the stop sound whole before the
# program ends.
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
  # 20 ms windows: loudness and zero crossings give each window's pitch.
  # Runs of one pitch are the sounds; a run shorter than 60 ms (a tone's edge,
  # a dropout on a busy machine) is counted with the run before it.
  heard=$(sox -t raw -r 44100 -e signed -b 16 -c 1 "$work/$way.raw" -t dat - 2>/dev/null | awk '
    /^;/ { next }
    { v = $2; n++; sum += v * v; if (n > 1 && (v < 0) != (prev < 0)) zc++; prev = v
      if (n < 882) next
      pitch = "-"
      if (sum / n > 0.0005) {
        f = zc / 2 / 0.02; pitch = 440
        split("660 880 1000", tones, " ")
        for (i in tones) if ((f - tones[i])^2 < (f - pitch)^2) pitch = tones[i]
      }
      if (runs && pitch == p[runs]) c[runs]++; else { runs++; p[runs] = pitch; c[runs] = 1 }
      n = 0; sum = 0; zc = 0 }
    END {
      for (r = 1; r <= runs; r++)
        if (m && (c[r] < 3 || p[r] == P[m])) C[m] += c[r]; else { m++; P[m] = p[r]; C[m] = c[r] }
      for (r = 1; r <= m; r++) if (P[r] != "-") printf "%s:%d ", P[r], C[r] * 20 }')
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
