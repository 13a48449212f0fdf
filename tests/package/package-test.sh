#!/usr/bin/env bash
# The unpacked release package (package-contents.sh unpacks it) with its
# Varnolt.exe started under Wine in its disc folder. It shows the texts of the
# package's commented autorun.ini, the disc and the example game in its list,
# the game's description, and the read-me on F1.
# Usage: package-test.sh BUILD_DIR VERSION
set -uo pipefail
build="$(cd "$1" && pwd)" version=$2
"$build/wine-run.sh" --ready || exit 1
source="$(cd "$(dirname "$0")/../.." && pwd)/package"
work="$build/package-test"
top="$work/unpacked/Varnolt-$version"
[ -f "$top/disc/Varnolt.exe" ] || { echo "package: not unpacked in $top"; exit 1; }
failed=0
fail() { echo "package: FAILED: $*"; failed=1; }

disc_path="Z:$(sed 's|/|\\|g' <<<"$top/disc")\\"
seen=$("$build/wine-run.sh" "$build/package_check.exe" "$disc_path" 2>>"$work/wine.log" | tr -d '\r')
echo "$seen"
key() { sed -n "s/^$1=//p" "$source/autorun.ini"; }
expect() { grep -qxF "$1" <<<"$seen" || fail "not shown: $1"; }
expect "started=yes"
expect "title=Varnolt - $version"
for k in list description install close readme; do expect "control=$(key "$k")"; done
expect "item=$(key disk)"
expect "item=Sample Game"
[ "$(grep -c '^item=' <<<"$seen")" -eq 2 ] || fail "the list holds more than the disc and the example game"
expect "description=$(tr -d '\r' <"$source/games/Sample Game/descript.ion" | head -1)"
expect "help=$(key help)"

[ $failed -eq 0 ] && echo "package: Varnolt-$version.zip unpacked and its Varnolt.exe shows the example game"
exit $failed
