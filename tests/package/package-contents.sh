#!/usr/bin/env bash
# The release package as a disc author gets it, without running anything: made
# by cpack and unpacked into a fresh folder (build/package-test/unpacked, where
# package-test.sh then starts its Varnolt.exe), it holds every file of the
# disc template and the guide, the 32-bit Varnolt.exe stripped, and an
# autorun.inf that starts it; the disc check lies beside the guide, which
# names it, and not on the disc; the template's autorun.ini has one sentence
# a comment line and leaves support= for the author to fill in first.
# Usage: package-contents.sh BUILD_DIR VERSION
set -uo pipefail
build="$(cd "$1" && pwd)" version=$2
source="$(cd "$(dirname "$0")/../.." && pwd)/package"
work="$build/package-test"
rm -rf "$work" && mkdir -p "$work/unpacked"
failed=0
fail() { echo "package: FAILED: $*"; failed=1; }

(cd "$build" && cpack -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
zip="$work/Varnolt-$version.zip"
[ -f "$zip" ] || { echo "package: no $zip"; ls "$work"; exit 1; }
(cd "$work/unpacked" && cmake -E tar xf "$zip") || exit 1
top="$work/unpacked/Varnolt-$version"

for f in guide.txt VarnoltCheck.exe disc/Varnolt.exe disc/autorun.inf disc/autorun.ini \
         disc/read.me.txt \
         disc/autorun/click.wav disc/autorun/load.wav disc/autorun/start.wav disc/autorun/stop.wav \
         "disc/games/Sample Game/descript.ion" "disc/games/Sample Game/screenshot.jpg" \
         "disc/games/Sample Game/setup.exe"; do
  [ -f "$top/$f" ] || fail "no $f in the package"
done
for program in disc/Varnolt.exe VarnoltCheck.exe; do
  objdump_out=$(x86_64-w64-mingw32-objdump -h "$top/$program" 2>&1)
  grep -q "file format pei-i386" <<<"$objdump_out" || fail "$program is not the 32-bit program"
  grep -q "\.debug_" <<<"$objdump_out" && fail "$program is not stripped"
done
[ -e "$top/disc/VarnoltCheck.exe" ] && fail "the disc check would be burned with the disc"
guide=$(tr -d '\r' <"$top/guide.txt")
for text in "VarnoltCheck.exe" "> отчёт.txt" "/p" "/t" "0 — диск готов" "1 — игрок встретит проблемы" \
            "2 — Varnolt на этом диске не запустится" "3 — папку не удалось прочитать" "support="; do
  grep -qF -- "$text" <<<"$guide" || fail "the guide does not say '$text'"
done
ini=$(iconv -f CP1251 -t UTF-8 "$top/disc/autorun.ini" | tr -d '\r')
# One sentence a comment line: each ends its sentence, none goes on over the next.
bad=$(grep '^;' <<<"$ini" | grep -vE '[.:]$')
[ -z "$bad" ] || fail "autorun.ini has comment lines that do not end a sentence: $bad"
first_key=$(sed -n '/^\[main\]/,$p' <<<"$ini" | grep -v '^;' | grep '=' | head -n 1)
[ "$first_key" = "support=" ] || fail "autorun.ini's first key is '$first_key', not an empty support="
inf=$(iconv -f UTF-16 -t UTF-8 "$top/disc/autorun.inf" | tr -d '\r')
for line in "[autorun]" "open=Varnolt.exe" "icon=Varnolt.exe" "$(grep '^label=' "$source/autorun.inf")"; do
  grep -qxF "$line" <<<"$inf" || fail "autorun.inf lacks '$line'"
done

[ $failed -eq 0 ] && echo "package: Varnolt-$version.zip holds the guide, the disc check beside it and the disc template"
exit $failed
