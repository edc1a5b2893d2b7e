#!/usr/bin/env bash
# Runs the bench under Wine against the module beside it, with sound going to an ALSA null device
# so DirectSound can be created.
#   run_bench.sh [--win32] [--program NAME.exe] ARGS...
#   (default: build/win64 under wine64; --win32: the product, build/win32, under 32-bit Wine, exit
#   77 where it cannot run; --program: another program of that build instead of the bench)
set -euo pipefail
bits=64
if [ "${1:-}" = --win32 ]; then bits=32; shift; fi
program=corvan-bench.exe
if [ "${1:-}" = --program ]; then program="$2"; shift 2; fi
. "$(dirname "$0")/wine_env.sh"
# A private ALSA configuration: the default PCM is the null device unless a test asks for a file.
if [ -z "${ALSA_CONFIG_PATH:-}" ]; then
  cat > "$HOME/asound.conf" <<'CONF'
pcm.!default { type null }
ctl.!default { type hw card 0 }
CONF
  export ALSA_CONFIG_PATH="$HOME/asound.conf"
fi
prefix_ready
cd "$root"
exec "$wine" "$build/$program" "$@"
