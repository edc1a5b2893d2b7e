#!/usr/bin/env bash
# Exit 0 when this machine runs 32-bit x86 programs, 1 when it does not (a kernel without IA32
# emulation, or another CPU). Needs nothing installed: it writes a 96-byte i386 ELF program that
# only exits with status 42, and runs it. CORVAN_NO_I386=1 pretends the machine cannot.
set -u
[ "${CORVAN_NO_I386:-0}" = 1 ] && exit 1
# Written under build/, where the project runs its programs anyway (/tmp may be mounted noexec).
dir="$(cd "$(dirname "$0")/.." && pwd)/build"
mkdir -p "$dir" && probe="$(mktemp "$dir/i386-probe.XXXXXX")" || exit 1
trap 'rm -f "$probe"' EXIT
# ELF header (32-bit, little-endian, executable, i386, entry 0x08048054), one loadable segment
# holding the whole file, then: mov eax, 1 (exit); mov ebx, 42; int 0x80.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00''\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00''\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' > "$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
[ $? -eq 42 ]
