#!/usr/bin/env bash
# The wineserver of this system, whatever its name (it serves 32- and 64-bit prefixes alike).
for s in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver "$(command -v wineserver || true)"; do
  [ -x "$s" ] && exec "$s" "$@"
done
exit 0
