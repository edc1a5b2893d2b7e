# Sourced by the Wine runners after they read their first argument: bits=64 (wine64 and the win64
# build) or bits=32 (32-bit Wine and the product in build/win32). Sets wine, build and a prefix
# of the project's own under build/; no debug output, no display. Where the machine cannot run
# 32-bit programs, a 32-bit run ends here as skipped (exit 77) with its reason.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if [ "$bits" = 32 ]; then
  if ! "$root/scripts/runs_i386.sh"; then
    echo "skipped: this machine cannot run 32-bit x86 programs (no IA32 emulation), so the PE32 product cannot run"
    exit 77
  fi
  wine=/usr/lib/wine/wine
  [ -x "$wine" ] || { echo "32-bit Wine is missing ($wine): run scripts/setup.sh"; exit 1; }
  export WINEARCH=win32 WINEPREFIX="$root/build/wine32/prefix"
  build="$root/build/win32"
else
  wine=/usr/lib/wine/wine64
  [ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
  export WINEPREFIX="$root/build/wine/prefix"
  build="$root/build/win64"
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$(dirname "$WINEPREFIX")/home"
mkdir -p "$HOME"
unset DISPLAY
# Creates the prefix on first use; the runner calls it once its ALSA configuration is in place.
prefix_ready() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
    "$root/tests/wine/wineserver.sh" -w 2>/dev/null || true
  fi
}
