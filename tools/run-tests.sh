#!/usr/bin/env bash
# Builds everything and runs every test: the logic over the simulation
# (natively, under AddressSanitizer and UBSan), each fuzz target for a few
# seconds, and the contract and end-to-end tests under Wine, for the 64-bit
# and for the 32-bit build.
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

echo "== 32-bit build"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

echo "== 64-bit build"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
bash tools/check-imports.sh build/win64/Varnolt.exe build/win32/Varnolt.exe build/win64/VarnoltCheck.exe \
  build/win32/VarnoltCheck.exe

# The Wine tests of each build, each in its own prefix; a failure names the
# build it failed on.
source tools/wine-env.sh
trap wine_env_stop EXIT
failed=()
for build in win64 win32; do
  echo "== $build build, tests under Wine"
  wine_env_start "build/$build"
  ctest --preset "$build" || failed+=("$build")
  wine_env_stop
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "run-tests: Wine tests FAILED on the ${failed[*]} build" >&2
  exit 1
fi
