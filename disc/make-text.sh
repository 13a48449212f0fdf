#!/usr/bin/env bash
# Writes a disc text file from its UTF-8 source: in Windows-1251 (the
# classic encoding of a disc's files), in UTF-8 with a byte-order mark, or in
# UTF-16 (little-endian) with a byte-order mark, with CR LF line ends.
# Usage: make-text.sh cp1251|utf8|utf16 SOURCE TARGET
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 cp1251|utf8|utf16 SOURCE TARGET" >&2; exit 2; }
encoding=$1 source=$2 target=$3
partial="$target.partial"
trap 'rm -f "$partial" "$partial.16"' EXIT

case "$encoding" in
  # iconv refuses a character that Windows-1251 lacks, and so fails the build.
  cp1251) iconv -f UTF-8 -t CP1251 "$source" >"$partial" ;;
  utf8) { printf '\357\273\277'; iconv -f UTF-8 -t UTF-8 "$source"; } >"$partial" ;;
  # Line ends are set while it is UTF-8, and then it is converted.
  utf16) iconv -f UTF-8 -t UTF-8 "$source" >"$partial" ;;
  *) echo "$0: unknown encoding $encoding" >&2; exit 2 ;;
esac
# Every line, the last one too, ends with CR LF.
sed -i -e 's/\r$//' -e 's/$/\r/' "$partial"
[ -z "$(tail -c 1 "$partial")" ] || printf '\n' >>"$partial"
if [ "$encoding" = utf16 ]; then
  { printf '\377\376'; iconv -f UTF-8 -t UTF-16LE "$partial"; } >"$partial.16"
  mv "$partial.16" "$partial"
fi
mv "$partial" "$target"
