#!/usr/bin/env bash
# Plays a click sound of the win64 module through Wine's real DirectSound into an ALSA file
# device, and checks that the captured audio is not silence.
#   sound_test.sh [MODULE.gau [WAVE_ID]]   (default: build/win64/Corvan_Instr.gau, WAVE 40)
# Exit 0 passed, 77 skipped (the module carries no WAVE resources), anything else failed.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
module="${1:-$root/build/win64/Corvan_Instr.gau}"
wave_id="${2:-40}"
check="$root/build/win64/corvan-sound-check.exe"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
[ -f "$check" ] || { echo "sound_test: missing $check (build the win64 preset)"; exit 1; }
[ -f "$module" ] || { echo "sound_test: missing $module (build the win64 preset)"; exit 1; }

export WINEPREFIX="$root/build/wine/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$root/build/wine/home"
unset DISPLAY
out="$root/build/wine/sound"
mkdir -p "$HOME" "$out"
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

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1 || true
  "$root/tests/wine/wineserver.sh" -w 2>/dev/null || true
fi
# Wine's ALSA driver, not PulseAudio (there is no sound server here).
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1 || true

"$wine" "$check" "$(sed 's|/|\\|g; s|^|Z:|' <<<"$module")" "$wave_id"
status=$?
[ $status -eq 77 ] && { echo "sound_test: skipped"; exit 77; }
[ $status -eq 0 ] || { echo "sound_test: the sound check failed ($status)"; exit 1; }
"$root/tests/wine/wineserver.sh" -w 2>/dev/null || true
python3 "$root/tests/wine/not_silent.py" "$capture"
