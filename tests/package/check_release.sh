#!/usr/bin/env bash
# Checks what the release is made of, from outside the binaries:
#  - the resources of tarnwell_env.exe, regtool.exe and QRX_Intel_Win32.dll in each
#    Windows build given (version information equal to the CMake project version; for
#    the two programs the application manifest and the icon);
#  - the 32-bit release zip: exactly the files it should hold, 32-bit and stripped
#    binaries, CR LF text files, checksums that match.
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

for build in "$@"; do
  check_resources "$build/src/app/win32/tarnwell_env.exe" program
  check_resources "$build/tools/regtool/regtool.exe" program
  check_resources "$build/src/app/win32/QRX_Intel_Win32.dll" library
  check_resources "$build/src/com/TarnwellRegistry.dll" library
done

# The product's zip.
"$top/scripts/package.sh" win32 >/dev/null
zip="$top/build/win32/tarnwell_env-$version-win32.zip"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
folder="$unpacked/tarnwell_env-$version-win32"
expected="LICENSE.txt QRX_Intel_Win32.dll README.txt SHA256SUMS.txt TarnwellRegistry.dll export_key.vbs
          regtool.exe tarnwell_env.exe"
[ "$(cd "$folder" && ls | sort | xargs)" = "$(xargs -n1 <<<"$expected" | sort | xargs)" ] \
  || fail "the zip holds: $(cd "$folder" && ls | xargs)"
for binary in tarnwell_env.exe regtool.exe QRX_Intel_Win32.dll TarnwellRegistry.dll; do
  i686-w64-mingw32-objdump -f "$folder/$binary" | grep 'file format pei-i386' >/dev/null \
    || fail "$binary in the zip is not a 32-bit Windows binary"
  i686-w64-mingw32-objdump -h "$folder/$binary" | grep '\.debug' >/dev/null \
    && fail "$binary in the zip is not stripped"
  i686-w64-mingw32-objdump -p "$folder/$binary" | grep 'DLL Name' \
    | grep -viE 'kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|msvcrt|api-ms-win' \
    && fail "$binary in the zip needs a DLL that Windows does not ship"
done
for text in README.txt LICENSE.txt SHA256SUMS.txt export_key.vbs; do
  [ "$(grep -c $'[^\r]$' "$folder/$text" || true)" = 0 ] || fail "$text has lines not ended by CR LF"
done
(cd "$folder" && tr -d '\r' <SHA256SUMS.txt | sha256sum --quiet -c -) || fail "the checksums do not match"
[ "$(wc -l <"$folder/SHA256SUMS.txt")" = 7 ] || fail "SHA256SUMS.txt does not list the seven other files"

[ "$failures" = 0 ] && echo "release: ok ($zip)"
[ "$failures" = 0 ]
