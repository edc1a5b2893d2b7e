#!/usr/bin/env bash
# The product, checked statically with objdump: a PE32 i386 DLL that exports exactly Linkage and
# ImportTable and imports only system DLLs (its C and C++ runtime are linked in).
set -euo pipefail
gau="$1"
objdump=i686-w64-mingw32-objdump
fail() { echo "check_win32_product: $*"; exit 1; }
[ -f "$gau" ] || fail "missing $gau (build the win32 preset)"
headers="$($objdump -p "$gau")"
grep -q 'file format pei-i386' <<<"$headers" || fail "not a PE32 i386 file"
grep -q 'Magic[[:space:]]*010b' <<<"$headers" || fail "optional header is not PE32"
grep -Eq '^Characteristics.*' <<<"$headers" && grep -q 'DLL' <<<"$(grep -A12 '^Characteristics' <<<"$headers")" \
  || fail "not a DLL"

exports="$(awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} f&&/^[[:space:]]*\[/{print $NF} f&&!/^[[:space:]]*\[/{f=0}' <<<"$headers" | sort | tr '\n' ' ')"
[ "$exports" = "ImportTable Linkage " ] || fail "exports are '$exports', want exactly ImportTable and Linkage"

allowed='^(KERNEL32|USER32|GDI32|WINMM|DSOUND|msvcrt|ADVAPI32|ole32)\.dll$'
while read -r dll; do
  grep -Eiq "$allowed" <<<"$dll" || fail "imports a non-system DLL: $dll"
done < <(grep 'DLL Name:' <<<"$headers" | awk '{print $3}')
grep -Eiq 'DLL Name: (libstdc|libgcc|libwinpthread)' <<<"$headers" && fail "runtime not linked statically"

if [ -x "$(dirname "$0")/check_win32_resources.sh" ]; then
  "$(dirname "$0")/check_win32_resources.sh" "$gau"
fi
echo "check_win32_product: $gau is PE32 i386, exports ImportTable and Linkage, imports $(grep -c 'DLL Name:' <<<"$headers") system DLLs"
