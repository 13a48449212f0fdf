#!/usr/bin/env bash
# What heard.awk hears in recordings made up of tones and silences, each row
# one recording and the pitches it must tell: the gaps a busy machine leaves
# inside a tone are passed over, while a sound that is really there, however
# short (60 ms), a missing one, or a sound played twice still show.
# Usage: heard-test.sh
set -uo pipefail
awk_file="$(dirname "$0")/heard.awk"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# PIECES: "Hz:seconds" a piece, Hz 0 for silence; pieces of "Hz:seconds/gap*n"
# are n pieces of that length each followed by a gap of silence.
recording() {
  local piece hz length gap count i
  : >"$work/rec.raw"
  for piece in "$@"; do
    hz=${piece%%:*} length=${piece#*:} gap=0 count=1
    if [[ $length == */* ]]; then
      gap=${length#*/} gap=${gap%\**} count=${length#*\*} length=${length%%/*}
    fi
    for ((i = 0; i < count; i++)); do
      sox -n -r 44100 -e signed -b 16 -c 1 -t raw - synth "$length" sine "$hz" \
        vol "$([ "$hz" = 0 ] && echo 0 || echo 0.366)" >>"$work/rec.raw" 2>/dev/null
      [ "$gap" = 0 ] || sox -n -r 44100 -e signed -b 16 -c 1 -t raw - trim 0 "$gap" >>"$work/rec.raw" 2>/dev/null
    done
  done
  sox -t raw -r 44100 -e signed -b 16 -c 1 "$work/rec.raw" -t dat - 2>/dev/null | awk -f "$awk_file"
}

failed=0 rows=0
row() {
  local expected=$1 heard
  shift
  heard=$(recording "$@")
  rows=$((rows + 1))
  if [ "$(sed 's/:[0-9]*//g; s/ *$//' <<<"$heard")" != "$expected" ]; then
    echo "heard-test: FAILED: $* heard as '$heard', expected '$expected'"
    failed=$((failed + 1))
  fi
}

# As the driver plays them: keys 2 s apart.
whole="0:0.2 440:0.3 0:1.7 660:0.3 0:1.7 660:0.3 0:1.7 880:0.2 0:0.8 1000:1.0 0:0.3"
row "440 660 660 880 1000" $whole
# Gaps of 5 to 700 ms inside every tone, pieces as short as 10 ms.
row "440 660 660 880 1000" 0:0.2 440:0.03/0.005*10 0:1.7 660:0.1/0.05*3 0:1.2 660:0.15/0.4*2 0:1.7 \
  880:0.01/0.01*10 880:0.04/0.1*3 0:0.8 1000:0.2/0.15*4 1000:0.2/0.7*1 0:0.3
# A stray piece of another pitch, a missing click, a load twice, a load that
# goes on after a pause too long for a gap.
row "440 660 660 880 440 1000" 0:0.2 440:0.3 0:1.7 660:0.3 0:1.7 660:0.3 0:1.7 880:0.2 440:0.06 0:0.8 1000:1.0
row "440 660 660 1000" 0:0.2 440:0.3 0:1.7 660:0.3 0:1.7 660:0.3 0:1.5 1000:1.0
row "440 660 660 660 880 1000" 0:0.2 440:0.3 0:1.7 660:0.3 0:0.85 660:0.3 0:1.7 660:0.3 0:1.7 880:0.2 0:0.8 1000:1.0
# How long the stop was heard: whole, and through gaps.
stop=$(recording $whole | sed -n 's/.*1000:\([0-9]*\) *$/\1/p')
[ "${stop:-0}" -ge 960 ] && [ "${stop:-0}" -le 1040 ] || { echo "heard-test: FAILED: a 1 s stop heard as ${stop:-nothing} ms"; failed=$((failed + 1)); }
echo "heard-test: $((rows - failed)) of $rows recordings heard as made"
[ "$failed" -eq 0 ]
