#!/usr/bin/env bash
# Checks an assembled sample disc against its sources in the repository:
# every text in its encoding with CR LF line ends and the same words as its
# source, the control file's settings, short PCM sounds of distinct pitch,
# JPEG screenshots, and one Windows GUI installer in every game's folder.
# Usage: check-disc.sh DISC_FOLDER SOURCE_FOLDER
set -uo pipefail
shopt -s nullglob
[ $# -eq 2 ] || { echo "usage: $0 DISC_FOLDER SOURCE_FOLDER" >&2; exit 2; }
disc=$1 source=$2
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes the text of a disc file as UTF-8 with LF line ends to $work/text;
# fails when its line ends or its encoding are wrong.
disc_text() {
  local file=$1 crlf lf
  : >"$work/text"
  [ -f "$file" ] || { fail "$file is missing"; return 1; }
  lf=$(tr -cd '\n' <"$file" | wc -c)
  crlf=$(grep -c $'\r$' "$file")
  if [ "$lf" -eq 0 ] || [ "$lf" -ne "$crlf" ] || [ "$(tail -c 2 "$file" | hex)" != 0d0a ]; then
    fail "$file: not every line ends with CR LF ($crlf of $lf)"
    return 1
  fi
  if [ "$(head -c 3 "$file" | hex)" = efbbbf ]; then
    tail -c +4 "$file" | iconv -f UTF-8 -t UTF-8 >"$work/text" || { fail "$file: not UTF-8"; return 1; }
  else
    iconv -f CP1251 -t UTF-8 "$file" >"$work/text" || { fail "$file: not Windows-1251"; return 1; }
  fi
  sed -i 's/\r$//' "$work/text"
}
hex() { od -An -tx1 | tr -d ' \n'; }

# A disc text says exactly what its source says.
check_text() {
  disc_text "$1" || return
  cmp -s "$work/text" "$2" || fail "$1 differs from $2"
}

check_text "$disc/autorun.ini" "$source/autorun.ini"
check_text "$disc/autorun.inf" "$source/autorun.inf"
check_text "$disc/read.me.txt" "$source/read.me.txt"
check_text "$disc/autorun/descript.ion" "$source/autorun/descript.ion"
# The classic control file has no byte-order mark: old readers take it for text.
[ "$(head -c 3 "$disc/autorun.ini" | hex)" != efbbbf ] ||
  fail "autorun.ini is not Windows-1251"

# Every setting the program reads is there; the sample never starts a screen
# reader, and its read-me button works.
disc_text "$disc/autorun.ini"
cp "$work/text" "$work/ini"
setting() { sed -n "/^\[main\]/,/^\[/s/^$1=\(.*\)$/\1/p" "$work/ini"; }
for key in disk list description install close readme ScreenReader help HelpButton support; do
  [ -n "$(setting "$key")" ] || fail "autorun.ini: no $key in [main]"
done
[ "$(setting ScreenReader)" = 0 ] || fail "autorun.ini: ScreenReader must be 0 on the sample disc"
[ "$(setting HelpButton)" = 2 ] || fail "autorun.ini: HelpButton is not 2"

# Sounds: PCM wave files under a second, the closing one long enough to be
# heard, all four at clearly different pitches.
frequencies=()
for name in click load start stop; do
  wav="$disc/autorun/$name.wav"
  [ -f "$wav" ] || { fail "$name.wav is missing"; continue; }
  [ "$(soxi -t "$wav")" = wav ] && [ "$(soxi -e "$wav")" = "Signed Integer PCM" ] ||
    fail "$name.wav is not a PCM wave file"
  length=$(soxi -D "$wav")
  awk -v l="$length" 'BEGIN { exit !(l > 0 && l < 1) }' || fail "$name.wav lasts $length s"
  if [ "$name" = stop ]; then
    awk -v l="$length" 'BEGIN { exit !(l >= 0.6) }' || fail "stop.wav lasts only $length s"
  fi
  frequencies+=("$name $(sox "$wav" -n stat 2>&1 | awk '/Rough +frequency/ { print $3 }')")
done
printf '%s\n' "${frequencies[@]}" | sort -k2 -n | awk '
  NR > 1 && $2 < prev * 1.05 { print "FAIL: " name " and " $1 " sound at one pitch"; bad = 1 }
  { prev = $2; name = $1 } END { exit bad }' || failures=$((failures + 1))

# A Windows GUI program: "MZ", then the PE header with subsystem 2.
check_gui_program() {
  local exe=$1 pe
  [ "$(head -c 2 "$exe")" = MZ ] || { fail "$exe is not a Windows program"; return; }
  pe=$(od -An -tu4 -j 60 -N 4 "$exe" | tr -d ' ')
  [ "$(od -An -tx1 -j "$pe" -N 4 "$exe" | tr -d ' \n')" = 50450000 ] ||
    { fail "$exe has no PE header"; return; }
  [ "$(od -An -tu2 -j $((pe + 92)) -N 2 "$exe" | tr -d ' ')" = 2 ] ||
    fail "$exe is not a GUI program (it would open a console window)"
}

# A JPEG screenshot of the size the program's picture box expects.
check_picture() {
  [ -f "$1" ] || { fail "$1 is missing"; return; }
  [ "$(identify -format '%m %wx%h' "$1" 2>/dev/null)" = "JPEG 640x480" ] ||
    fail "$1 is not a 640x480 JPEG"
  [ "$(stat -c %s "$1")" -lt 100000 ] || fail "$1 is larger than 100 kB"
}

check_gui_program "$disc/Varnolt.exe"
check_picture "$disc/autorun/screenshot.jpg"

# The games on the disc are the games in the sources, each complete.
expected=$(cd "$source/games" && ls -1)
present=$(cd "$disc/games" 2>/dev/null && ls -1)
[ "$expected" = "$present" ] || fail "games on the disc: $(echo $present) instead of $(echo $expected)"
utf8_descriptions=0
while IFS= read -r game; do
  folder="$disc/games/$game"
  [ -d "$folder" ] || continue
  check_text "$folder/descript.ion" "$source/games/$game/descript.ion"
  [ "$(head -c 3 "$folder/descript.ion" | hex)" = efbbbf ] &&
    utf8_descriptions=$((utf8_descriptions + 1))
  check_picture "$folder/screenshot.jpg"
  installers=("$folder"/*.exe)
  if [ ${#installers[@]} -ne 1 ] || [ ! -f "${installers[0]}" ]; then
    fail "$game: ${#installers[@]} installers instead of one"
  else
    check_gui_program "${installers[0]}"
  fi
done <<<"$expected"
[ "$utf8_descriptions" -ge 1 ] || fail "no game description shows a UTF-8 file"

if [ "$failures" -ne 0 ]; then
  echo "$failures problem(s) on the sample disc in $disc"
  exit 1
fi
echo "sample disc in $disc: all checks passed"
