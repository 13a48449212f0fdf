#!/usr/bin/env bash
# Builds the fuzz targets (clang and libFuzzer, under AddressSanitizer and
# UBSan, over the simulation) and runs each in turn for SECONDS (default 60),
# starting from its seeds (fuzz/corpus/<target>/) and from what earlier runs
# found (build/fuzz/corpus/<target>/). Prints per target the executions, the
# coverage (libFuzzer's cov: edges, ft: features) and the findings (inputs
# that crashed, leaked, hung or ran out of memory, kept in
# build/fuzz/findings/<target>/); fails when there is a finding.
# Usage: run-fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
all=(text_decode ini_reader folder_order disc_files)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

bash tools/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2 >/dev/null

status=0
total=0
printf '%-16s %12s %8s %8s %9s\n' target executions cov ft findings
for t in "${targets[@]}"; do
  work="build/fuzz/corpus/$t"
  findings="build/fuzz/findings/$t"
  log="build/fuzz/findings/$t.log"
  rm -rf "$findings"
  mkdir -p "$work" "$findings"
  # One target at a time, one process: the machine may be shared.
  "build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$t" >"$log" 2>&1 || true
  executions=$(awk '/stat::number_of_executed_units/ {print $2}' "$log" | tail -1)
  [ -n "$executions" ] || executions=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#' || true)
  # A target that fails on its seeds prints no coverage: no line, no match.
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | awk '{print $2}' || true)
  ft=$(grep -oE 'ft: [0-9]+' "$log" | tail -1 | awk '{print $2}' || true)
  found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)
  printf '%-16s %12s %8s %8s %9s\n' "$t" "${executions:-0}" "${cov:-?}" "${ft:-?}" "$found"
  total=$((total + ${executions:-0}))
  if [ "$found" -gt 0 ] || ! grep -q 'Done [0-9]* runs' "$log"; then
    status=1
    echo "run-fuzz: $t: finding, see $log and $findings/" >&2
    grep -m 3 -E 'ERROR|property broken|runtime error' "$log" >&2 || true
  fi
done
printf '%-16s %12s\n' all "$total"
exit $status
