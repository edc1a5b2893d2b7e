#!/usr/bin/env bash
# Instructions per frame, counted by callgrind inside the measured function only: figures that do
# not move with the machine's load, beside the times.
#   tests/bench/instructions.sh [FRAMES] [WINDOWS]
#     FRAMES  frames of the module's own work (default 2000)
#     WINDOWS main windows drawn by the bench's renderer (default 50)
# make perf runs it after the benchmarks.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
frames="${1:-2000}"
windows="${2:-50}"
out="$root/build/perf"
mkdir -p "$out"
count() {  # FUNCTION ENV_VAR COUNT: instructions per call of FUNCTION
  env "$2=$3" valgrind --tool=callgrind --toggle-collect="$1" --callgrind-out-file="$out/callgrind.$1.out" \
    "$root/build/release/perf_benchmarks" >/dev/null 2>"$out/callgrind.$1.log"
  echo $(( $(awk '/^summary:/ {print $2}' "$out/callgrind.$1.out") / $3 ))
}
echo "module frame: $(count corvan_module_frames CORVAN_PERF_FRAMES "$frames") instructions per frame ($frames frames of every gauge, callgrind)"
echo "flight model step: $(count corvan_flight_steps CORVAN_PERF_FLIGHT_STEPS "$frames") instructions per frame ($frames frames of the aircraft and beacons on an ILS approach, callgrind)"
echo "main window drawn: $(count corvan_window_frames CORVAN_PERF_WINDOW_FRAMES "$windows") instructions per picture ($windows frames, bench frame included, callgrind)"
