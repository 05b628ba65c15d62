#!/usr/bin/env bash
# Exits 0 when this machine executes 32-bit x86 programs, non-zero when it does not.
# It runs a 93-byte static i386 program that only calls exit(0): no wine32, no 32-bit C
# library and no compiler needed. Kernels built without IA-32 emulation, or sandboxes
# that turn it off, refuse it with "Exec format error".
set -u
program="$(mktemp "${TMPDIR:-/tmp}/tarnwell-32bit.XXXXXX")" || exit 2
trap 'rm -f "$program"' EXIT
# ELF header, one loadable segment, then: mov eax, 1; xor ebx, ebx; int 0x80.
printf '%b' \
'\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08'\
'\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00'\
'\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$program"
chmod +x "$program"
"$program" 2>/dev/null
