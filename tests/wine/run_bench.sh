#!/usr/bin/env bash
# Runs the win64 bench under wine64 against build/win64/Corvan_Instr.gau, in a Wine prefix of
# the project's own, with sound going to an ALSA null device so DirectSound can be created.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"

export WINEPREFIX="$root/build/wine/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$root/build/wine/home"
mkdir -p "$HOME"
# A private ALSA configuration: the default PCM is the null device unless a test asks for a file.
if [ -z "${ALSA_CONFIG_PATH:-}" ]; then
  cat > "$HOME/asound.conf" <<'CONF'
pcm.!default { type null }
ctl.!default { type hw card 0 }
CONF
  export ALSA_CONFIG_PATH="$HOME/asound.conf"
fi
unset DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1 || true
  "$root/tests/wine/wineserver.sh" -w 2>/dev/null || true
fi
cd "$root"
exec "$wine" "$root/build/win64/corvan-bench.exe" "$@"
