#!/usr/bin/env bash
# Checks the registry component as shipped: a 32-bit DLL that exports the five COM
# entry points under their plain names and carries its type library as a TYPELIB
# resource. (Its behaviour is tested under Wine with the build this machine can run.)
#   scripts/check-component-dll.sh build/win32/src/com/TarnwellRegistry.dll
set -euo pipefail
dll="$1"
objdump=i686-w64-mingw32-objdump
format=$("$objdump" -f "$dll")
grep -q 'file format pei-i386' <<<"$format" || { echo "$dll: not a 32-bit DLL"; exit 1; }
exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | tail -n +2 |
          grep -oE '\] [^ ]+$' | cut -c3- | sort | tr '\n' ' ')
expected="DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer "
[ "$exports" = "$expected" ] || { echo "$dll exports: $exports"; exit 1; }
headers=$("$objdump" -x "$dll")
grep -q ': TYPELIB, Value' <<<"$headers" || { echo "$dll: no TYPELIB resource"; exit 1; }
echo "$dll: 32-bit, exports $exports, has its type library"
