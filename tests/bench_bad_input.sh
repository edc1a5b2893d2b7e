#!/usr/bin/env bash
# Bad input never crashes the bench: malformed lines, unknown gauges and elements, a missing
# module and a module without the exports each fail their file with a message naming file:line.
set -uo pipefail
bench="$1"
dir="$(cd "$(dirname "$0")" && pwd)/bad_input"
failures=0
check() {  # check NAME EXPECTED-TEXT COMMAND...
  local name="$1" want="$2"; shift 2
  local out rc
  out="$("$@" 2>&1)"; rc=$?
  if [ $rc -ne 1 ] || ! grep -qF -- "$want" <<<"$out"; then
    echo "FAIL $name (exit $rc): wanted '$want' in:"; echo "$out"; failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}
check malformed "malformed.scn:3: bad frame count 'two'" "$bench" run "$dir/malformed.scn"
check malformed-all "malformed.scn:5:" "$bench" run "$dir/malformed.scn"
check unknown-gauge "unknown_gauge.scn:1: unknown gauge No_Such_Gauge" "$bench" run "$dir/unknown_gauge.scn"
check unknown-element "unknown_element.scn:3: gauge Gear_Lever has no element 99" "$bench" run "$dir/unknown_element.scn"
check no-placement "no_placement.scn:2: no placement Gear_Lever#2" "$bench" run "$dir/no_placement.scn"
check binary "binary.scn:3: unterminated string" "$bench" run "$dir/binary.scn"
check until-never "bad_world.scn:2: expected var 0x4A > 100 within 1 s, got 0" "$bench" run "$dir/bad_world.scn"
check missing-world "bad_world.scn:3: $dir/no_such_world.txt: cannot open world file" "$bench" run "$dir/bad_world.scn"
check missing-file "no_such_file.scn:0: cannot open scenario file" "$bench" run "$dir/no_such_file.scn"
check missing-module "cannot load module" "$bench" run --module /nonexistent/Corvan_Instr.so "$dir/unknown_gauge.scn"
# Any shared object that lacks the exports is refused.
platform="$(dirname "$bench")/libcorvan_platform.so"
check not-a-module "does not export Linkage" "$bench" run --module "$platform" "$dir/unknown_gauge.scn"
check summary "0 passed, 3 failed" "$bench" run "$dir/malformed.scn" "$dir/unknown_gauge.scn" "$dir/binary.scn"
echo "$((12 - failures)) passed, $failures failed"
[ $failures -eq 0 ]
