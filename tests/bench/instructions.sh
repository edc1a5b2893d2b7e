#!/usr/bin/env bash
# Instructions per frame of the module's own work, counted by callgrind inside
# corvan_module_frames only: a figure that does not move with the machine's load, beside the time.
#   tests/bench/instructions.sh [FRAMES]     (default 2000; make perf runs it after the benchmarks)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
frames="${1:-2000}"
out="$root/build/perf/callgrind.out"
mkdir -p "$root/build/perf"
CORVAN_PERF_FRAMES="$frames" valgrind --tool=callgrind --toggle-collect=corvan_module_frames \
  --callgrind-out-file="$out" "$root/build/release/perf_benchmarks" >/dev/null 2>"$root/build/perf/callgrind.log"
total=$(awk '/^summary:/ {print $2}' "$out")
echo "module frame: $((total / frames)) instructions per frame ($frames frames of every gauge, callgrind)"
