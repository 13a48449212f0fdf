#!/bin/bash
# Lists the program's source files over 450 lines and its functions over 60 lines.
# A function's lines are counted by clang-tidy's readability-function-size check, from the line of
# its name to its closing brace, blank lines and comments included. The Windows sources are read as
# the 64-bit build compiles them, the rest as the native build does; both builds must be configured.
# Exits 1 when anything is over.
set -u
cd "$(dirname "$0")/.."
over=0
while read -r lines file; do
  [ "$file" = total ] && continue
  if [ "$lines" -gt 450 ]; then
    echo "$file: $lines lines (limit 450)"
    over=1
  fi
done < <(find src -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort | xargs wc -l)

mingw_includes=()
while read -r dir; do
  mingw_includes+=("--extra-arg=-isystem$dir")
done < <(echo | x86_64-w64-mingw32-g++ -xc++ -E -v - 2>&1 |
  sed -n '/#include <...> search starts/,/End of search/p' | sed '1d;$d;s/^ //' |
  grep -v -E '/[0-9]+-[a-z]+/include(-fixed)?$')  # gcc's own intrinsics headers are not clang's

config='{CheckOptions: [{key: readability-function-size.LineThreshold, value: 60}]}'
tidy() {
  clang-tidy --quiet --checks='-*,readability-function-size' --config="$config" "$@" 2>&1 |
    awk '/readability-function-size/ { name = $0 } /lines including whitespace/ { print name; print }
         / error: / { print "cannot read: " $0 }'
}
found=$({
  for f in $(find src -name '*.cpp' | sort); do
    case "$f" in
      src/platform/win32/* | src/app/* | src/check/VarnoltCheck.cpp)
        tidy -p build/win64 --extra-arg=--target=x86_64-w64-mingw32 "${mingw_includes[@]}" "$f" ;;
      *) tidy -p build/native "$f" ;;
    esac
  done
})
if [ -n "$found" ]; then
  echo "$found" | sed -E 's/ warning: .*function (.*) exceeds.*/ \1/; s/.*note: ([0-9]+) lines.*/    \1 lines/'
  over=1
fi
[ "$over" = 0 ] && echo "code-size: no file over 450 lines, no function over 60"
exit "$over"
