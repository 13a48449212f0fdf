#!/usr/bin/env bash
# Installs what building, testing and running Varnolt need on Debian 12.
# Does nothing when everything is there already.
set -euo pipefail

# clang, libfuzzer-14-dev and libclang-rt-14-dev (the sanitizer and fuzzer
# runtimes, only recommended by clang) build the fuzz targets.
packages=(cmake ninja-build g++ googletest g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine64 xvfb x11-utils xdotool sox imagemagick locales clang-format pulseaudio pulseaudio-utils
          clang libfuzzer-14-dev libclang-rt-14-dev)
# The 32-bit Wine, which runs the 32-bit build in the same 64-bit prefix.
packages+=(wine32:i386)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  # Without --no-install-recommends wine pulls in far more than it needs
  # here (fonts, printing, the wine wrapper, which picks the 32-bit loader).
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
