#!/usr/bin/env bash
# Plays a click sound of a module through Wine's real DirectSound into an ALSA file device, and
# checks that the captured audio is not silence.
#   sound_test.sh [--win32] [MODULE.gau [WAVE_ID]]
#   (default: build/win64/Corvan_Instr.gau under wine64, WAVE 40; --win32: the product in
#   build/win32 under 32-bit Wine)
# Exit 0 passed, 77 skipped (no WAVE resources, or no 32-bit support here), anything else failed.
set -uo pipefail
bits=64
if [ "${1:-}" = --win32 ]; then bits=32; shift; fi
. "$(dirname "$0")/wine_env.sh"
module="${1:-$build/Corvan_Instr.gau}"
wave_id="${2:-40}"
check="$build/corvan-sound-check.exe"
[ -f "$check" ] || { echo "sound_test: missing $check (build the win${bits} preset)"; exit 1; }
[ -f "$module" ] || { echo "sound_test: missing $module (build the win${bits} preset)"; exit 1; }

out="$(dirname "$WINEPREFIX")/sound"
mkdir -p "$out"
capture="$out/capture.wav"
rm -f "$capture"

# The test's own ALSA configuration: the default PCM writes everything played into a WAV file and
# passes it on to a null device.
cat > "$out/asound.conf" <<CONF
pcm.!default {
  type file
  slave.pcm "sink"
  file "$capture"
  format "wav"
}
pcm.sink { type null }
ctl.!default { type hw card 0 }
CONF
export ALSA_CONFIG_PATH="$out/asound.conf"

prefix_ready
# Wine's ALSA driver, not PulseAudio (there is no sound server here).
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1 || true

"$wine" "$check" "$(sed 's|/|\\|g; s|^|Z:|' <<<"$module")" "$wave_id"
status=$?
[ $status -eq 77 ] && { echo "sound_test: skipped"; exit 77; }
[ $status -eq 0 ] || { echo "sound_test: the sound check failed ($status)"; exit 1; }
"$root/tests/wine/wineserver.sh" -w 2>/dev/null || true
python3 "$root/tests/wine/not_silent.py" "$capture"
