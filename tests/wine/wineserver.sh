#!/usr/bin/env bash
# The wineserver that goes with wine64, whatever its name on this system.
for s in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver "$(command -v wineserver || true)"; do
  [ -x "$s" ] && exec "$s" "$@"
done
exit 0
