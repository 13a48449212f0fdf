#!/usr/bin/env bash
# The release package as a disc author gets it, without running anything: made
# by cpack and unpacked into a fresh folder (build/package-test/unpacked, where
# package-test.sh then starts its Varnolt.exe), it holds every file of the
# disc template and the guide, the 32-bit Varnolt.exe stripped, and an
# autorun.inf that starts it.
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

for f in guide.txt disc/Varnolt.exe disc/autorun.inf disc/autorun.ini disc/read.me.txt \
         disc/autorun/click.wav disc/autorun/load.wav disc/autorun/start.wav disc/autorun/stop.wav \
         "disc/games/Sample Game/descript.ion" "disc/games/Sample Game/screenshot.jpg" \
         "disc/games/Sample Game/setup.exe"; do
  [ -f "$top/$f" ] || fail "no $f in the package"
done
objdump_out=$(x86_64-w64-mingw32-objdump -h "$top/disc/Varnolt.exe" 2>&1)
grep -q "file format pei-i386" <<<"$objdump_out" || fail "Varnolt.exe is not the 32-bit program"
grep -q "\.debug_" <<<"$objdump_out" && fail "Varnolt.exe is not stripped"
inf=$(iconv -f UTF-16 -t UTF-8 "$top/disc/autorun.inf" | tr -d '\r')
for line in "[autorun]" "open=Varnolt.exe" "icon=Varnolt.exe" "$(grep '^label=' "$source/autorun.inf")"; do
  grep -qxF "$line" <<<"$inf" || fail "autorun.inf lacks '$line'"
done

[ $failed -eq 0 ] && echo "package: Varnolt-$version.zip holds the guide and the disc template"
exit $failed
