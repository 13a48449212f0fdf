#!/usr/bin/env bash
# Makes the release package, build/win32/package/Varnolt-<version>.zip, from
# the 32-bit build: the disc template with Varnolt.exe and the guide for disc
# authors (see cmake/Package.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"
(cd build/win32 && cpack)
ls build/win32/package/Varnolt-*.zip
