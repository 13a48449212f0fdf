#!/usr/bin/env bash
# Counts the project's lines of code and of tests, and prints the tests'
# share. A line counts when it is neither blank nor only a comment. Tests are
# everything under tests/ and the fuzz targets; the rest (the program, the
# disc check, the benchmarks, the tools and the build files) is code.
# With --files, also lists each file's count.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {  # FILE: lines that are neither blank nor only a comment
  case "$1" in
    *.cpp | *.h) awk '
      { line = $0 }
      incomment { if (sub(/.*\*\//, "", line)) incomment = 0; else next }
      { sub(/^[ \t]+/, "", line) }
      line ~ /^\/\*/ && line !~ /\*\// { incomment = 1; next }
      line == "" || line ~ /^\/\// || line ~ /^\/\*.*\*\/$/ { next }
      { n++ }
      END { print n + 0 }' "$1" ;;
    *) awk '{ sub(/^[ \t]+/, "") } $0 == "" || /^#/ { next } { n++ } END { print n + 0 }' "$1" ;;
  esac
}

code=0
tests=0
while IFS= read -r file; do
  n=$(count "$file")
  case "$file" in
    tests/* | fuzz/*) tests=$((tests + n)); kind=test ;;
    *) code=$((code + n)); kind=code ;;
  esac
  if [ "${1:-}" = --files ]; then printf '%6d %s %s\n' "$n" "$kind" "$file"; fi
done < <(git ls-files -- '*.cpp' '*.h' '*.cmake' '*.sh' 'CMakeLists.txt' '*/CMakeLists.txt' \
  '.ci/run' | grep -v '^fuzz/corpus/')

echo "code lines: $code"
echo "test lines: $tests"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests / code: %.2f (the aim: 0.25 to 0.33)\n", t / c }'
