#!/usr/bin/env bash
# Checks the registry component as shipped: a DLL of the architecture given (win32, the
# default, or win64) that exports the five COM entry points under their plain names and
# carries its type library as a TYPELIB resource. (Its behaviour is tested under Wine.)
#   scripts/check-component-dll.sh build/win32/src/com/TarnwellRegistry.dll [win32|win64]
set -euo pipefail
dll="$1"
arch="${2:-win32}"
case "$arch" in
  win32) format=pei-i386 bits=32 ;;
  win64) format=pei-x86-64 bits=64 ;;
  *) echo "check-component-dll.sh: no architecture $arch (win32 or win64)" >&2; exit 2 ;;
esac
# This objdump reads 32-bit and 64-bit binaries alike.
objdump=x86_64-w64-mingw32-objdump
format_line=$("$objdump" -f "$dll")
grep -q "file format $format\$" <<<"$format_line" || { echo "$dll: not a $bits-bit DLL"; exit 1; }
exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | tail -n +2 |
          grep -oE '\] [^ ]+$' | cut -c3- | sort | tr '\n' ' ')
expected="DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer "
[ "$exports" = "$expected" ] || { echo "$dll exports: $exports"; exit 1; }
headers=$("$objdump" -x "$dll")
grep -q ': TYPELIB, Value' <<<"$headers" || { echo "$dll: no TYPELIB resource"; exit 1; }
echo "$dll: $bits-bit, exports $exports, has its type library"
