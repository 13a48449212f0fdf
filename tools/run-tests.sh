#!/usr/bin/env bash
# Builds everything and runs every test: the logic over the simulation
# (natively, under AddressSanitizer and UBSan), each fuzz target for a few
# seconds, the contract and end-to-end tests under Wine (64-bit build), and a
# compile of the 32-bit release.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

jobs=$(nproc)
echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native

echo "== fuzz targets, a few seconds each"
bash tools/run-fuzz.sh 5

echo "== 32-bit release build"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

echo "== 64-bit build, tests under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
bash tools/check-imports.sh build/win64/Varnolt.exe build/win32/Varnolt.exe

source tools/wine-env.sh
trap wine_env_stop EXIT
wine_env_start build/win64
ctest --preset win64
