# The benchmarks: Win32 console programs, run by tools/run-bench.sh.
