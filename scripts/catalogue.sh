#!/usr/bin/env bash
# Writes the gauge catalogue (OUT/gauges.md and OUT/gauges/*.png) with the given bench, in the
# state the page describes: after the default panel's demo flight, with the radar switched on.
# `make catalogue` writes it into docs/; the catalogue test writes it elsewhere and compares.
#
#   scripts/catalogue.sh BENCH OUT [--module FILE]
set -euo pipefail
bench="$1"
out="$2"
shift 2
root="$(cd "$(dirname "$0")/.." && pwd)"
rm -rf "$out/gauges" "$out/gauges.md"
"$bench" catalogue --out "$out" --state "$root/panels/default/demo.scn" --state "$root/docs/gauges_state.scn" "$@"
