#!/usr/bin/env bash
# A workstation whose user name is outside the ANSI code page (michał, on a Western
# European locale): the report finds the files in the user's own application-data
# folder, and the pane (through Copy Text), the text file and the JSON all show a path
# holding the name exactly, never a look-alike or a "?".
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT
e2e_start_display

# Wine reads $USER and the arguments in the Unix locale's character set.
export LC_ALL=C.UTF-8
user="$(printf 'micha\xc5\x82')"
out="$E2E_BUILD/e2e/unicode_user"
rm -rf "$out"
mkdir -p "$out"
# Wine names the profile folder after $USER when it makes the prefix.
export USER="$user"
tarnwell_prefix "$out/prefix"
E2E_DRIVE_C="$out/prefix/drive_c"
local_app="$E2E_DRIVE_C/users/$user/AppData/Local"
[ -d "$local_app" ] || { e2e_fail "the prefix has no folder $local_app"; exit 1; }
mkdir -p "$local_app/Tarnwell"
: >"$local_app/Tarnwell/GeoTIFF_PCS_codes.csv"
folder="C:\\users\\$user\\Models"
e2e_reg 'HKLM\SOFTWARE\Quillmere\QRX_Invernis_setup' CWD "$folder"

exe="$E2E_BUILD/src/app/win32/tarnwell_env.exe"
"$TARNWELL_WINE" "$exe" /report "$(e2e_windows_path "$out/report.txt")" >/dev/null 2>&1 || true
"$TARNWELL_WINE" "$exe" /report "$(e2e_windows_path "$out/report.json")" /format:json \
  >/dev/null 2>&1 || true
e2e_start_program
e2e_click copy_text
e2e_clipboard "$out/clipboard.txt"
e2e_click done
e2e_wait_exit

failures=0
expect() { grep -qF -- "$2" "$1" || { echo "FAIL: $1 lacks '$2'" >&2; failures=$((failures + 1)); }; }
# The text file: UTF-8 behind a byte-order mark, as a character outside the code page
# needs; the clipboard as the probe writes it, in UTF-8.
[ "$(head -c 3 "$out/report.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
  { echo "FAIL: the text file does not start with a UTF-8 byte-order mark" >&2; failures=$((failures + 1)); }
for file in "$out/report.txt" "$out/clipboard.txt"; do
  expect "$file" "Plotwick GeoTIFF_PCS_codes file exists in CommonAppDir folder"
  expect "$file" "QRX_Invernis_setup CWD: $folder"
done
expect "$out/report.json" "\"value\": \"C:\\\\users\\\\$user\\\\AppData\\\\Local\\\\Tarnwell\\\\GeoTIFF_PCS_codes.csv\""
expect "$out/report.json" "\"value\": \"C:\\\\users\\\\$user\\\\Models\""
"$WINESERVER" -k >/dev/null 2>&1 || true
rm -rf "$out/prefix"
[ "$failures" = 0 ] || exit 1
echo "unicode user: the report finds $user's files and shows the name exactly"
