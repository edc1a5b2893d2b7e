#!/usr/bin/env bash
# The product's resources, checked statically with objdump: every bitmap of the manifest is a
# BITMAP resource of its id with the DIB size its width and height give, nothing else is, the
# four sounds are "WAVE" resources 10, 20, 30 and 40, and the version resource is VERSION 1.
set -euo pipefail
gau="$1"
manifest="$(dirname "$0")/../resources/bitmaps.manifest"
objdump=i686-w64-mingw32-objdump
fail() { echo "check_win32_resources: $*"; exit 1; }
[ -f "$gau" ] || fail "missing $gau (build the win32 preset)"
[ -f "$manifest" ] || fail "missing $manifest"

# Resource directory as "TYPE ID SIZE" lines: type level entries are indented 3, names 5, leaves 8.
listed="$($objdump -p "$gau" | awk '
  function hex(s,   i, n) { s = tolower(s); sub(/^0x/, "", s); n = 0
    for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
    return n }
  /The .rsrc Resource Directory section/ { f = 1; next }
  !f { next }
  /^[0-9a-f]+   Entry: / { type = ($0 ~ /WAVE/) ? "WAVE" : ($0 ~ /ID: 0x000002,/ ? "BITMAP" : ($0 ~ /ID: 0x000010,/ ? "VERSION" : "OTHER")); next }
  /^[0-9a-f]+     Entry: ID: / { split($0, a, "ID: "); split(a[2], b, ","); id = hex(b[1]); next }
  /Leaf: Addr:/ { split($0, a, "Size: "); split(a[2], b, ","); print type, id, hex(b[1]) }
' | sort -k1,1 -k2,2n)"
[ -n "$listed" ] || fail "no resource directory in $gau"

expected="$( {
  for w in 10 20 30 40; do echo "WAVE $w"; done
  echo "VERSION 1"
  grep -E '^[0-9]' "$manifest" | awk -F'|' '{
    id = $1 + 0; split($2, s, "x"); w = s[1] + 0; h = s[2] + 0
    row = int((w * 3 + 3) / 4) * 4
    print "BITMAP", id, 40 + row * h }'
} | sort -k1,1 -k2,2n)"

# Sounds and the version: only type and id are compared here (their contents are the unit tests'
# and tests/dist's business).
got_cmp="$(awk '$1 == "WAVE" || $1 == "VERSION" { print $1, $2; next } { print }' <<<"$listed")"
if [ "$got_cmp" != "$expected" ]; then
  { diff <(echo "$expected") <(echo "$got_cmp") || true; } | head -20
  fail "resources in $gau differ from the manifest (< manifest, > module)"
fi
bitmaps=$(grep -c '^BITMAP' <<<"$listed")
echo "check_win32_resources: $gau carries $bitmaps bitmaps and 4 WAVE sounds, as the manifest lists, and a version resource"
