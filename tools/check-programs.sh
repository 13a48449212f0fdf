#!/usr/bin/env bash
# What can be checked of the Windows programs without running them: each
# imports only DLLs on the system's KnownDLLs list (those are always loaded
# from the system folder, never from the disc); its version resource carries
# the project's version (VERSION, as major.minor.patch.revision, and TEXT, the
# resource's string form) in US English, Unicode; its manifest asks for no
# administrator rights and sets no ANSI code page (Varnolt.exe's also asks for
# the common controls 6 and scaling per monitor, beside its icon). Prints each
# program's size as built and stripped (as released).
# Usage: check-programs.sh VERSION TEXT PROGRAM...
set -euo pipefail
version=$1 text=$2
shift 2
known="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32"
status=0
fail() {
  echo "check-programs: $exe: $*" >&2
  status=1 ok=0
}
for exe in "$@"; do
  ok=1
  [ -f "$exe" ] || { fail "no such program"; continue; }
  for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}'); do
    grep -qw "${dll%.dll}" <<<"$known" || fail "imports $dll, which is not a KnownDLL"
  done
  echo "check-programs: $exe imports $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {printf "%s ", $3}')"

  resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc 2>&1) || { fail "resources unreadable"; continue; }
  numbers="${version//./, }"
  for line in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" "VALUE \"FileVersion\", \"$text\"" \
              "VALUE \"ProductVersion\", \"$text\"" "VALUE \"Translation\", 0x409, 1200" \
              'requestedExecutionLevel level=""asInvoker""'; do
    grep -qF "$line" <<<"$resources" || fail "its resources lack '$line'"
  done
  grep -q activeCodePage <<<"$resources" && fail "its manifest sets an ANSI code page"
  # The program itself: its icon, the common controls of version 6, and its
  # own scaling on each monitor.
  if [ "$(basename "$exe")" = Varnolt.exe ]; then
    for line in "14 /* RT_GROUP_ICON */" 'name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""' \
                "PerMonitorV2"; do
      grep -qF "$line" <<<"$resources" || fail "its resources lack '$line'"
    done
  fi

  stripped=$(mktemp)
  x86_64-w64-mingw32-strip -o "$stripped" "$exe"
  echo "check-programs: $exe ($(x86_64-w64-mingw32-objdump -f "$exe" | awk '/file format/ {print $4}')):" \
       "$(stat -c %s "$exe") bytes, $(stat -c %s "$stripped") bytes stripped$([ $ok = 1 ] && echo ", version $text")"
  rm -f "$stripped"
done
exit $status
