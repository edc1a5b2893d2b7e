#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs them one after another.
#   tests/fuzz/run.sh build            builds the targets only (make test, before its tests run)
#   tests/fuzz/run.sh short [TARGET]   make test: each target over the corpus in the tree, then
#                                      FUZZ_SHORT_SECONDS (default 3) of fuzzing from it
#   tests/fuzz/run.sh long [TARGET]    make fuzz: each target until 10 million executions (the chaos
#                                      target: 125 000 inputs of 8 frames, 1 million frames) or
#                                      FUZZ_SECONDS (default 3600); then the corpus in the tree is
#                                      minimised with what the run found
# The corpora live in tests/fuzz/corpus/TARGET; an input that once crashed stays there as a
# regression and runs in every short run.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$root/build/fuzz"
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -Wall -Wextra -Werror -Wno-missing-field-initializers -I"$root" -I"$root/platform")
cxx=(clang++)
if command -v ccache >/dev/null; then cxx=(ccache clang++); fi

# run.sh --compile OBJDIR SOURCE: one object of a target (called by build, two at a time).
if [ "${1:-}" = --compile ]; then
  obj="$2/$(printf '%s' "${3#"$root"/}" | tr / _).o"
  exec "${cxx[@]}" "${flags[@]}" -c "$3" -o "$obj"
fi

mode="${1:-short}"
only="${2:-}"
mkdir -p "$out"

# Every source compiled to its own object, two at a time (ccache answers for the unchanged ones
# where it is installed), then linked: a change to one gauge recompiles that gauge only.
build() {  # build NAME SOURCES...
  local name="$1"; shift
  local bin="$out/$name"
  local newest
  newest="$(ls -t "$@" "$0" | head -n 1)"
  if [ ! -x "$bin" ] || [ "$newest" -nt "$bin" ] || [ -n "$(find "$root"/{module,bench,platform,radios,flight,autopilot,engine,systems,displays} -newer "$bin" -name '*.[ch]*' | head -n 1)" ]; then
    local objdir="$out/obj/$name"
    rm -rf "$objdir" && mkdir -p "$objdir"
    printf '%s\0' "$@" | xargs -0 -n 1 -P "${JOBS:-2}" bash "$0" --compile "$objdir"
    clang++ "${flags[@]}" "$objdir"/*.o -o "$bin" -ldl
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
for f in "$root"/bench/*.cpp "$root"/bench/sim/*.cpp; do
  case "$f" in */main.cpp|*/subcommands.cpp|*_command.cpp) ;; *) chaos_sources+=("$f") ;; esac
done
build fuzz_gauge_chaos "$root/tests/fuzz/fuzz_gauge_chaos.cpp" "${chaos_sources[@]}"
targets+=(fuzz_gauge_chaos)
build fuzz_panel_cfg "$root/tests/fuzz/fuzz_panel_cfg.cpp" "$root/bench/panel_cfg.cpp"
targets+=(fuzz_panel_cfg)
for extra in "$root"/tests/fuzz/targets.d/*.sh; do
  [ -f "$extra" ] && source "$extra"
done

[ "$mode" = build ] && exit 0

failed=0
ran=0
for t in "${targets[@]}"; do
  [ -n "$only" ] && [ "$t" != "$only" ] && continue
  ran=$((ran + 1))
  work="$out/corpus_$t"
  corpus="$root/tests/fuzz/corpus/$t"
  # A short run starts from the tree's corpus alone, so it takes the same time however often it ran.
  [ "$mode" = long ] || rm -rf "$work"
  mkdir -p "$work" "$corpus"
  args=(-print_final_stats=1 -max_len=4096 -timeout=10 -artifact_prefix="$out/$t-")
  if [ "$mode" = long ]; then
    runs=10000000
    [ "$t" = fuzz_gauge_chaos ] && runs=125000
    args+=(-runs="$runs" -max_total_time="${FUZZ_SECONDS:-3600}")
  else
    args+=(-max_total_time="${FUZZ_SHORT_SECONDS:-3}")
  fi
  started=$SECONDS
  if "$out/$t" "${args[@]}" "$work" "$corpus" >"$out/$t.log" 2>&1; then
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$t.log" | awk '{print $2}')
    echo "ok   $t: ${execs:-?} runs in $((SECONDS - started))s"
    if [ "$mode" = long ]; then  # keep the tree's corpus small: the inputs that cover what all cover
      fresh="$out/merged_$t"
      rm -rf "$fresh" && mkdir -p "$fresh"
      # ... and at most 48 of them, the largest (they drive the most), so the tree stays small.
      "$out/$t" -merge=1 -max_len=4096 "$fresh" "$corpus" "$work" >"$out/$t.merge.log" 2>&1 &&
        rm -f "$corpus"/* && (cd "$fresh" && ls -S >../kept_$t && head -n 48 ../kept_$t | xargs -r cp -t "$corpus"/) &&
        echo "     corpus: $(ls "$corpus" | wc -l) inputs in the tree"
    fi
  else
    echo "FAIL $t (see $out/$t.log)"; tail -n 30 "$out/$t.log"; failed=$((failed + 1))
  fi
done
echo "$((ran - failed)) passed, $failed failed"
[ $failed -eq 0 ]
