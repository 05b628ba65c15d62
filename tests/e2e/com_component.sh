#!/usr/bin/env bash
# The registry component (TarnwellRegistry.dll) of the build Wine runs (win32 or win64,
# as TARNWELL_WINE_ARCH and E2E_BUILD say), with that architecture's regsvr32, cscript
# and regtool, installed on C: as a user would install it:
#  1. regsvr32 registers it machine-wide; every member called from VBScript through
#     CreateObject, from C++ through the vtable and through the C++ class itself give
#     the same results on the same registry; the exports made through COM are byte for
#     byte regtool's exports of the same tree, and so is the documented example script
#     (which without arguments says how to call it);
#     JScript can call the enumerations;
#  2. regsvr32 /u leaves HKCR\CLSID, HKCR\Interface, HKCR\TypeLib and the ProgID key as
#     they were before, byte for byte; so does a refused registration. Where the prefix
#     has two registry views, the other architecture's registration is first planted in
#     the other view as its regsvr32 would leave it: regsvr32 /u then keeps the ProgID
#     and type library values that Windows shares between the views, and removes them
#     once the other registration is gone;
#  3. regsvr32 /n /i:user registers for the current user only (Wine activates from
#     the machine-wide classes only, so this registration is checked by its keys), and
#     /u /n /i:user leaves the user's classes as they were.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"

DLL="$E2E_BUILD/src/com/TarnwellRegistry.dll"
SEQUENCE="$E2E_BUILD/tests/com/member_sequence/com_member_sequence.exe"
REGTOOL="$E2E_BUILD/tools/regtool/regtool.exe"
e2e_require_built "$DLL" "$SEQUENCE" "$REGTOOL"

CLSID='{F1F8CDFB-5F09-4D42-8EE6-AA99B15999B5}'
IID='{6A64F9BD-C12A-486B-9688-F933362F39B6}'
LIBID='{8D62F6F0-2738-48CB-B319-28FD5B826BF9}'
PROGID='TarnwellRegistry.clsRegistryAccess'
PLATFORM=win32 OTHER_PLATFORM=win64 OTHER_VIEW=/reg:64
[ "$TARNWELL_WINE_ARCH" = win64 ] && PLATFORM=win64 OTHER_PLATFORM=win32 OTHER_VIEW=/reg:32
SCRATCH='HKCU\Software\tarnwell-com-members'
INSTALLED='C:\Tarnwell\TarnwellRegistry.dll'

e2e_new_prefix com_component
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
e2e_put_file "$INSTALLED" "$DLL"
e2e_put_file 'C:\com\member_sequence.vbs' "$here/../com/member_sequence/member_sequence.vbs"
e2e_put_file 'C:\com\enumerations.js' "$here/../com/enumerations.js"
e2e_put_file 'C:\com\export_key.vbs' "$here/../../docs/export_key.vbs"
work="$(e2e_unix_path 'C:\com')"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
wine_run() { "$TARNWELL_WINE" "$@" >/dev/null 2>&1; }
regtool() { wine_run "$REGTOOL" "$@"; }
query() { "$TARNWELL_WINE" reg query "$@" 2>/dev/null | tr -d '\r'; }
# grep reads to the end: with -q it stops at the match, and the writer's broken pipe
# then fails the pipeline under pipefail.
has() {  # has KEY LINE: reg query KEY shows that value line
  query "$1" | grep -Fx -- "$2" >/dev/null || fail "$1: no line '$2'"
}
lacks_key() { if query "$1" >/dev/null; then fail "$1 exists"; fi; }
same_file() { cmp -s "$1" "$2" || fail "$3: $(basename "$1") and $(basename "$2") differ ($work)"; }

# The exports compared before and after: regedit's own export of each key, or a line
# saying that the key is missing.
snapshot() {
  local name="$1" key file
  local -a keys=("HKEY_CLASSES_ROOT\\CLSID" "HKEY_CLASSES_ROOT\\Interface"
                 "HKEY_CLASSES_ROOT\\TypeLib" "HKEY_CLASSES_ROOT\\$PROGID")
  for key in CLSID Interface TypeLib "$PROGID"; do
    keys+=("HKEY_CURRENT_USER\\Software\\Classes\\$key")
  done
  : >"$work/$name.snapshot"
  for key in "${keys[@]}"; do
    file="$work/export.reg"
    rm -f "$file"
    if wine_run regedit /E "$(e2e_windows_path "$file")" "$key" && [ -f "$file" ]; then
      { echo "== $key"; cat "$file"; } >>"$work/$name.snapshot"
    else
      echo "== $key (missing)" >>"$work/$name.snapshot"
    fi
  done
}
unchanged_since() {
  snapshot "$2"
  cmp -s "$work/$1.snapshot" "$work/$2.snapshot" \
    || fail "$2: the classes differ from $1 ($work/$1.snapshot, $work/$2.snapshot)"
}

# --- 1. Machine-wide registration and the member sequence ---------------------------
# The script host registers its own type library the first time it runs; let it do
# so before the classes are taken as they were.
printf 'Set fso = CreateObject("Scripting.FileSystemObject")\r\n' >"$work/warm-up.vbs"
printf 'var fso = new ActiveXObject("Scripting.FileSystemObject");\r\n' >"$work/warm-up.js"
wine_run cscript //nologo 'C:\com\warm-up.vbs'
wine_run cscript //nologo 'C:\com\warm-up.js'
snapshot before
wine_run regsvr32 /s "$INSTALLED" || fail "regsvr32 failed"
has "HKCR\\CLSID\\$CLSID\\InprocServer32" "    (Default)    REG_SZ    $INSTALLED"
has "HKCR\\CLSID\\$CLSID\\InprocServer32" "    ThreadingModel    REG_SZ    Apartment"
has "HKCR\\CLSID\\$CLSID\\ProgID" "    (Default)    REG_SZ    $PROGID"
has "HKCR\\$PROGID\\CLSID" "    (Default)    REG_SZ    $CLSID"
has "HKCR\\TypeLib\\$LIBID\\1.0\\0\\$PLATFORM" "    (Default)    REG_SZ    $INSTALLED"
has "HKCR\\Interface\\$IID\\TypeLib" "    (Default)    REG_SZ    $LIBID"

perl -pe 's/\n/\r\n/' >"$work/import.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\tarnwell-com-members\\imported]
@="imported default"
"text"="C:\\Bin\\Tarnwell"
"bytes"=hex:01,0a,FF
"number"=dword:000000ff
"negative"=dword:FFFFFFFF

[HKCU\\Software\\tarnwell-com-members\\imported\\sub]
"a"="x=y"
REG
# regtool's import and export of the same file, for the component's to match.
regtool import 'C:\com\import.reg' export "$SCRATCH\\imported" 'C:\com\regtool-imported.reg' \
  || fail "regtool import and export failed"
wine_run reg delete "$SCRATCH" /f || true

for client in vbscript class vtable; do
  case "$client" in
    vbscript) wine_run cscript //nologo 'C:\com\member_sequence.vbs' "$SCRATCH" \
                'C:\com\import.reg' "C:\\com\\$client-" "C:\\com\\$client-results.txt" ;;
    *) wine_run "$SEQUENCE" "$client" "$SCRATCH" 'C:\com\import.reg' "C:\\com\\$client-" \
         "C:\\com\\$client-results.txt" || fail "$client: the sequence did not run to its end" ;;
  esac
  [ -s "$work/$client-results.txt" ] || { fail "$client: no results"; continue; }
  if grep -E '^(UNEXPECTED|FAILED)' "$work/$client-results.txt" >&2; then fail "$client: see above"; fi
  regtool export "$SCRATCH" "C:\\com\\$client-regtool-tree.reg" \
    export "$SCRATCH\\values" "C:\\com\\$client-regtool-values.reg" --no-subkeys \
    || fail "$client: regtool export failed"
  same_file "$work/$client-tree.reg" "$work/$client-regtool-tree.reg" "$client: ExportToReg"
  same_file "$work/$client-values.reg" "$work/$client-regtool-values.reg" "$client: ExportToReg"
  same_file "$work/$client-imported.reg" "$work/regtool-imported.reg" "$client: ImportFromReg"
  if [ "$client" = class ]; then
    wine_run cscript //nologo 'C:\com\export_key.vbs' "$SCRATCH" 'C:\com\example.reg'
    same_file "$work/example.reg" "$work/class-regtool-tree.reg" "docs/export_key.vbs"
    # Double-clicked it has no arguments: it says how to call it, not a script error.
    { "$TARNWELL_WINE" cscript //nologo 'C:\com\export_key.vbs' 2>&1 || true; } | tr -d '\r' \
      | grep '^Usage: export_key.vbs KEY FILE' >/dev/null || fail "docs/export_key.vbs: no usage without arguments"
  fi
  wine_run reg delete "$SCRATCH" /f || fail "$client: the sequence left no tree"
done
same_file "$work/vbscript-results.txt" "$work/class-results.txt" "VBScript and the C++ class"
# A key that cannot be opened gives 0 and no file.
tr -d '\r' <"$work/vbscript-results.txt" | grep -qx 'ExportToReg missing key: 0' \
  || fail "VBScript: ExportToReg of a missing key did not return 0"
same_file "$work/vtable-results.txt" "$work/class-results.txt" "the vtable and the C++ class"

"$TARNWELL_WINE" reg add 'HKCU\Software\tarnwell-com-js\one' /f >/dev/null 2>&1
"$TARNWELL_WINE" reg add 'HKCU\Software\tarnwell-com-js\two' /f >/dev/null 2>&1
for name in a b c; do
  "$TARNWELL_WINE" reg add 'HKCU\Software\tarnwell-com-js' /v "$name" /d x /f >/dev/null 2>&1
done
wine_run cscript //nologo 'C:\com\enumerations.js' 'HKCU\Software\tarnwell-com-js' 'C:\com\js.txt'
printf 'EnumKeys 2\r\nEnumValues 3\r\nKeyExists true\r\nDvorak true\r\n' >"$work/js-expected.txt"
same_file "$work/js.txt" "$work/js-expected.txt" "JScript"

# --- 2. Unregistration, and a registration refused ----------------------------------
classes='HKLM\Software\Classes'
if query 'HKLM\Software\Wow6432Node' /reg:64 >/dev/null; then
  other_class="$classes\\CLSID\\$CLSID\\InprocServer32"
  other_library="$classes\\TypeLib\\$LIBID\\1.0\\0\\$OTHER_PLATFORM"
  wine_run reg add "$other_class" /ve /d 'C:\Tarnwell\other\TarnwellRegistry.dll' /f "$OTHER_VIEW"
  wine_run reg add "$other_library" /ve /d 'C:\Tarnwell\other\TarnwellRegistry.dll' /f
  wine_run regsvr32 /u /s "$INSTALLED" || fail "regsvr32 /u beside the other registration failed"
  lacks_key "HKCR\\CLSID\\$CLSID"
  lacks_key "HKCR\\Interface\\$IID"
  lacks_key "HKCR\\TypeLib\\$LIBID\\1.0\\0\\$PLATFORM"
  has "HKCR\\$PROGID\\CLSID" "    (Default)    REG_SZ    $CLSID"
  has "HKCR\\TypeLib\\$LIBID\\1.0\\FLAGS" "    (Default)    REG_SZ    0"
  has "HKCR\\TypeLib\\$LIBID\\1.0\\0\\$OTHER_PLATFORM" \
    "    (Default)    REG_SZ    C:\Tarnwell\other\TarnwellRegistry.dll"
  wine_run reg delete "$classes\\CLSID\\$CLSID" /f "$OTHER_VIEW" || fail "regsvr32 /u took the other view's class"
  wine_run reg delete "$other_library" /f || fail "regsvr32 /u took the other platform's type library"
fi
# The last registration: everything goes.
wine_run regsvr32 /u /s "$INSTALLED" || fail "regsvr32 /u failed"
unchanged_since before after-unregister
if wine_run regsvr32 /s /n /i:nobody "$INSTALLED"; then fail "regsvr32 /i:nobody succeeded"; fi
unchanged_since before after-refused

# --- 3. Per-user registration -------------------------------------------------------
wine_run regsvr32 /s /n /i:user "$INSTALLED" || fail "regsvr32 /n /i:user failed"
user='HKCU\Software\Classes'
has "$user\\CLSID\\$CLSID\\InprocServer32" "    (Default)    REG_SZ    $INSTALLED"
has "$user\\CLSID\\$CLSID\\InprocServer32" "    ThreadingModel    REG_SZ    Apartment"
has "$user\\$PROGID\\CLSID" "    (Default)    REG_SZ    $CLSID"
has "$user\\TypeLib\\$LIBID\\1.0\\0\\$PLATFORM" "    (Default)    REG_SZ    $INSTALLED"
has "$user\\Interface\\$IID\\ProxyStubClsid32" \
  "    (Default)    REG_SZ    {00020424-0000-0000-C000-000000000046}"
lacks_key "HKLM\\Software\\Classes\\CLSID\\$CLSID"
lacks_key "HKLM\\Software\\Classes\\$PROGID"
wine_run regsvr32 /u /s /n /i:user "$INSTALLED" || fail "regsvr32 /u /n /i:user failed"
unchanged_since before after-user-unregister

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed; files in $work" >&2
  exit 1
fi
echo "com_component: ok"
