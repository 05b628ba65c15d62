#!/usr/bin/env bash
# Checks what the release is made of, from outside the binaries:
#  - the resources of tarnwell_env.exe, regtool.exe and QRX_Intel_Win32.dll in each
#    Windows build given (version information equal to the CMake project version; for
#    the two programs the application manifest and the icon);
#  - the hardening of the four binaries in each build: stack canaries in the code, and
#    on 32-bit no structured exception handler anywhere in it (they carry NO_SEH);
#  - the release zip: exactly the files it should hold, stripped binaries of the
#    machine type their place names (32-bit at the root, 64-bit in the x64 folder) with
#    ASLR (and relocations), DEP and NO_SEH on 32-bit or high-entropy ASLR on 64-bit,
#    importing only DLLs that Windows always takes from its system folder, CR LF text
#    files, a schema that reads as JSON, checksums that match;
#  - the .msi beside it, read with msiinfo: the zip's files (the 64-bit ones in 64-bit
#    components), the Start menu shortcut, the component's class, ProgID and server in
#    each architecture's registry view, the product's version and publisher, and the
#    major upgrade under the UpgradeCode.
#   check_release.sh BUILD_DIR...
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

version=$(sed -n 's/^project(tarnwell_env VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
[ -n "$version" ] || { echo "FAIL: no project version in CMakeLists.txt" >&2; exit 1; }
IFS=. read -r major minor patch <<<"$version"

# The four numbers of the fixed file version, "a.b.c.d", from a version resource.
fixed_file_version() {
  perl -0777 -ne '
    my $at = index($_, "\xBD\x04\xEF\xFE");
    exit 1 if $at < 0;
    my ($sig, $struct, $ms, $ls, $pms, $pls) = unpack("V6", substr($_, $at, 24));
    printf "%d.%d.%d.%d %d.%d.%d.%d\n", $ms >> 16, $ms & 0xFFFF, $ls >> 16, $ls & 0xFFFF,
           $pms >> 16, $pms & 0xFFFF, $pls >> 16, $pls & 0xFFFF;'
}

check_resources() {
  local binary="$1" kind="$2" name listing manifest versions
  name=$(basename "$binary")
  [ -f "$binary" ] || { fail "$binary is missing"; return; }
  listing=$(wrestool -l "$binary")
  versions=$(wrestool -x --raw --type=16 "$binary" | fixed_file_version) \
    || { fail "$name: no version information"; return; }
  [ "$versions" = "$version.0 $version.0" ] \
    || fail "$name: file and product version $versions, project version $version"
  wrestool -x --raw --type=16 "$binary" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -d '\0' \
    | grep "OriginalFilename.*$name" >/dev/null || fail "$name: the version names another file"
  [ "$kind" = program ] || return 0
  grep -q -- '--type=14 ' <<<"$listing" || fail "$name: no icon"
  manifest=$(wrestool -x --raw --type=24 --name=1 "$binary") || { fail "$name: no manifest"; return; }
  for wanted in 'level="asInvoker"' 'PerMonitorV2, PerMonitor' '>true/pm<' \
                'Microsoft.Windows.Common-Controls' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' \
                '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}'; do
    grep -qF -- "$wanted" <<<"$manifest" || fail "$name: the manifest lacks $wanted"
  done
  ! grep -q "<activeCodePage" <<<"$manifest" || fail "$name: the manifest changes the code page"
}

# This objdump reads 32-bit and 64-bit binaries alike.
objdump=x86_64-w64-mingw32-objdump

# The code of a binary still holding its symbols: some functions check a stack canary,
# and on 32-bit none registers a structured exception handler, which takes a store into
# the handler chain at %fs:0, so NO_SEH is true of it.
check_code() {
  local binary="$1" name code stores
  name=$(basename "$binary")
  [ -f "$binary" ] || return 0
  code=$("$objdump" -d "$binary")
  grep -qE 'call .*<_*stack_chk_fail>' <<<"$code" || fail "$name: no function checks a stack canary"
  grep -q 'file format pei-i386' <<<"$code" || return 0
  # Data placed in the code section (<.gcc_except_table> and the like) disassembles
  # into nonsense; only functions count.
  stores=$(awk '/^[0-9a-f]+ <[^.].*>:$/ {fn = $2} /^[0-9a-f]+ <\./ {fn = ""}
                fn != "" && /\t(mov[a-z]* +[^,]+,|pop[a-z]* +)%fs:/ {print fn; exit}' <<<"$code")
  [ -z "$stores" ] || fail "$name: $stores stores through %fs: an exception handler, which NO_SEH forbids?"
}

for build in "$@"; do
  check_resources "$build/src/app/win32/tarnwell_env.exe" program
  check_resources "$build/tools/regtool/regtool.exe" program
  check_resources "$build/src/app/win32/QRX_Intel_Win32.dll" library
  check_resources "$build/src/com/TarnwellRegistry.dll" library
  for binary in src/app/win32/tarnwell_env.exe tools/regtool/regtool.exe \
                src/app/win32/QRX_Intel_Win32.dll src/com/TarnwellRegistry.dll; do
    check_code "$build/$binary"
  done
done

# DLLs that Windows (7 and later) loads from its system folder whatever the search
# order says (the KnownDLLs), and the API sets; comctl32 only for a program whose
# manifest names the common controls, which Windows then takes from its side-by-side
# store. Any other import would be looked for beside the program first.
known_dlls='advapi32|comdlg32|gdi32|imm32|kernel32|msvcrt|ole32|oleaut32|rpcrt4|shell32|shlwapi|user32|ws2_32'

# The headers of a shipped binary: ASLR with relocations to move by, DEP, high-entropy
# ASLR on 64-bit and NO_SEH on 32-bit; what it imports; whether it sets the process's
# DLL search (a program must, a DLL must not).
check_headers() {
  local binary="$1" kind="$2" name headers imports flag allowed="$known_dlls"
  name=$(basename "$binary")
  headers=$("$objdump" -p -h "$binary")
  for flag in DYNAMIC_BASE NX_COMPAT; do
    grep -qE "^\s+$flag\$" <<<"$headers" || fail "$name: no $flag"
  done
  grep -qE '^ +[0-9]+ \.reloc ' <<<"$headers" || fail "$name: no relocations, so ASLR cannot move it"
  if grep -q 'file format pei-i386' <<<"$headers"; then
    grep -qE '^\s+NO_SEH$' <<<"$headers" || fail "$name: neither a SafeSEH table nor NO_SEH"
  else
    grep -qE '^\s+HIGH_ENTROPY_VA$' <<<"$headers" || fail "$name: no high-entropy ASLR"
  fi
  [ "$kind" != program ] || allowed="$allowed|comctl32"
  imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" \
            | { grep -viE "^($allowed)\.dll$|^api-ms-win-" || true; } | xargs)
  [ -z "$imports" ] || fail "$name imports $imports, which Windows may load from beside it"
  if [ "$kind" = program ]; then
    grep -qE '\sSetDefaultDllDirectories$' <<<"$headers" || fail "$name does not restrict its DLL search"
  elif grep -qE '\s(SetDefaultDllDirectories|SetDllDirectory[AW]|AddDllDirectory)$' <<<"$headers"; then
    fail "$name changes the DLL search of the program that loads it"
  fi
}

# The product's zip.
"$top/scripts/package.sh" win32 >/dev/null
zip="$top/build/win32/tarnwell_env-$version-win32.zip"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
folder="$unpacked/tarnwell_env-$version-win32"
expected="LICENSE.txt QRX_Intel_Win32.dll README.txt SHA256SUMS.txt TarnwellRegistry.dll export_key.vbs
          collect_report.cmd report.schema.json regtool.exe tarnwell_env.exe
          x64/regtool.exe x64/TarnwellRegistry.dll"
held=$(cd "$folder" && find . -type f | cut -c3- | sort | xargs)
[ "$held" = "$(xargs -n1 <<<"$expected" | sort | xargs)" ] || fail "the zip holds: $held"
for binary in tarnwell_env.exe regtool.exe QRX_Intel_Win32.dll TarnwellRegistry.dll \
              x64/regtool.exe x64/TarnwellRegistry.dll; do
  case "$binary" in
    x64/*) format=pei-x86-64 ;;
    *) format=pei-i386 ;;
  esac
  "$objdump" -f "$folder/$binary" | grep "file format $format\$" >/dev/null \
    || fail "$binary in the zip is not $format: $("$objdump" -f "$folder/$binary" | grep -o 'file format.*')"
  "$objdump" -h "$folder/$binary" | grep '\.debug' >/dev/null \
    && fail "$binary in the zip is not stripped"
  case "$binary" in
    *.exe) check_headers "$folder/$binary" program ;;
    *) check_headers "$folder/$binary" library ;;
  esac
done
for text in README.txt LICENSE.txt SHA256SUMS.txt export_key.vbs collect_report.cmd report.schema.json; do
  [ "$(grep -cv $'\r$' "$folder/$text" || true)" = 0 ] || fail "$text has lines not ended by CR LF"
done
python3 -m json.tool "$folder/report.schema.json" >/dev/null 2>&1 || fail "report.schema.json is not JSON"
cmp -s "$folder/collect_report.cmd" "$top/package/collect_report.cmd" \
  || fail "collect_report.cmd in the zip is not package/collect_report.cmd"
(cd "$folder" && tr -d '\r' <SHA256SUMS.txt | sha256sum --quiet -c -) || fail "the checksums do not match"
[ "$(wc -l <"$folder/SHA256SUMS.txt")" = 11 ] || fail "SHA256SUMS.txt does not list the eleven other files"

# The .msi beside it: its tables as msiinfo exports them, one row a line.
msi="$top/build/win32/tarnwell_env-$version.msi"
table() { msiinfo export "$msi" "$1" | tr -d '\r' | tail -n +4; }
has_row() {  # has_row TABLE ERE: a row of TABLE matches ERE
  table "$1" | grep -E -- "$2" >/dev/null || fail "the .msi's $1 table has no row like $2"
}
for file in $expected; do
  [ "$file" = SHA256SUMS.txt ] && continue
  size=$(stat -c %s "$folder/$file")
  case "$file" in
    x64/*) component_attributes=256 ;;  # a 64-bit component
    *) component_attributes=0 ;;
  esac
  component=$(table File | awk -F'\t' -v name="$(basename "$file")" -v size="$size" \
                '$3 == name && $4 == size { print $2 }')
  [ -n "$component" ] || { fail "the .msi holds no $file of $size bytes"; continue; }
  has_row Component "^$component"$'\t[^\t]*\t[^\t]*\t'"$component_attributes"$'\t'
done
has_row Shortcut $'^[^\t]*\tProgramMenuFolder\ttarnwell_env\tProgram\t\\[#tarnwell_env\\.exe\\]'
clsid='Software\\Classes\\CLSID\\\{F1F8CDFB-5F09-4D42-8EE6-AA99B15999B5\}'
has_row Registry $'\t2\t'"$clsid"$'\\\\InprocServer32\t\t\\[#TarnwellRegistry\\.dll\\]\tTarnwellRegistry$'
has_row Registry $'\t2\t'"$clsid"$'\\\\InprocServer32\t\t\\[#TarnwellRegistry_x64\\.dll\\]\tTarnwellRegistry_x64$'
has_row Registry $'\t2\t'"$clsid"$'\\\\InprocServer32\tThreadingModel\tApartment\t'
has_row Registry $'\t2\tSoftware\\\\Classes\\\\TarnwellRegistry\\.clsRegistryAccess\\\\CLSID\t\t\\{F1F8CDFB-'
has_row Property $'^ProductVersion\t'"$version"'$'
has_row Property $'^Manufacturer\tThe tarnwell_env authors$'
has_row Property $'^ALLUSERS\t1$'
upgrade_code=$(sed -n 's/^set(TARNWELL_MSI_UPGRADE_CODE "\(.*\)")$/\1/p' "$top/cmake/msi.cmake")
has_row Property $'^UpgradeCode\t'"$upgrade_code"'$'
has_row Upgrade "^$upgrade_code"$'\t\t'"$version"$'\t\t[0-9]+\t\tWIX_UPGRADE_DETECTED$'
has_row InstallExecuteSequence $'^RemoveExistingProducts\t'

[ "$failures" = 0 ] && echo "release: ok ($zip)"
[ "$failures" = 0 ]
