#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a while.
#   tests/fuzz/run.sh short   a few seconds each, from make test
#   tests/fuzz/run.sh long    minutes each, from make fuzz
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
mode="${1:-short}"
seconds=8
[ "$mode" = long ] && seconds=300
out="$root/build/fuzz"
mkdir -p "$out"
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -Wall -Wextra -Werror -Wno-missing-field-initializers -I"$root" -I"$root/platform")

build() {  # build NAME SOURCES...
  local name="$1"; shift
  local bin="$out/$name"
  local newest
  newest="$(ls -t "$@" "$0" | head -n 1)"
  if [ ! -x "$bin" ] || [ "$newest" -nt "$bin" ] || [ -n "$(find "$root/module" "$root/bench" -newer "$bin" -name '*.[ch]*' | head -n 1)" ]; then
    clang++ "${flags[@]}" "$@" -o "$bin" -ldl
  fi
}

targets=()
build fuzz_scenario_line "$root/tests/fuzz/fuzz_scenario_line.cpp" "$root/bench/scenario_parse.cpp"
targets+=(fuzz_scenario_line)
build fuzz_param_text "$root/tests/fuzz/fuzz_param_text.cpp" "$root/module/Registration.cpp" \
  "$root/module/Panel_Toggles.cpp" "$root/module/param_keys.cpp" "$root/module/host_services.cpp"
targets+=(fuzz_param_text)
# Every gauge, linked in with the bench core and the platform layer.
chaos_sources=("$root"/module/*.cpp "$root"/radios/*.cpp "$root"/flight/*.cpp "$root"/autopilot/*.cpp
               "$root"/engine/*.cpp "$root"/systems/*.cpp "$root"/displays/*.cpp "$root"/platform/*.cpp)
for f in "$root"/bench/*.cpp; do
  case "$f" in */main.cpp|*/subcommands.cpp) ;; *) chaos_sources+=("$f") ;; esac
done
build fuzz_gauge_chaos "$root/tests/fuzz/fuzz_gauge_chaos.cpp" "${chaos_sources[@]}"
targets+=(fuzz_gauge_chaos)
for extra in "$root"/tests/fuzz/targets.d/*.sh; do
  [ -f "$extra" ] && source "$extra"
done

failed=0
for t in "${targets[@]}"; do
  corpus="$out/corpus_$t"
  mkdir -p "$corpus"
  seeds="$root/tests/fuzz/seeds/$t"
  args=(-max_total_time="$seconds" -print_final_stats=1 -max_len=4096 -artifact_prefix="$out/$t-" "$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  if "$out/$t" "${args[@]}" >"$out/$t.log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$t.log" | awk '{print $2}')
    echo "ok   $t: ${runs:-?} runs in ${seconds}s"
  else
    echo "FAIL $t (see $out/$t.log)"; tail -n 30 "$out/$t.log"; failed=$((failed + 1))
  fi
done
echo "$(( ${#targets[@]} - failed )) passed, $failed failed"
[ $failed -eq 0 ]
