#!/usr/bin/env bash
# Fails when a program imports a DLL that is not on the system's KnownDLLs
# list (those are always loaded from the system folder, never from the disc),
# and prints each program's size as built and stripped (as released).
set -euo pipefail
known="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32"
status=0
for exe in "$@"; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}'); do
    name="${dll%.dll}"
    if ! grep -qw "$name" <<<"$known"; then
      echo "check-imports: $exe imports $dll, which is not a KnownDLL" >&2
      status=1
    fi
  done
  echo "check-imports: $exe imports only KnownDLLs: $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {printf "%s ", $3}')"
  stripped=$(mktemp)
  x86_64-w64-mingw32-strip -o "$stripped" "$exe"
  echo "check-imports: $exe ($(x86_64-w64-mingw32-objdump -f "$exe" | awk '/file format/ {print $4}')):" \
       "$(stat -c %s "$exe") bytes, $(stat -c %s "$stripped") bytes stripped"
  rm -f "$stripped"
done
exit $status
