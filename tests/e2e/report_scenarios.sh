#!/usr/bin/env bash
# The environment report on prepared workstations, end to end: registry set with Wine's
# own reg.exe, files under the prefix's C: drive, programs on the Windows PATH, the
# report copied with the Copy Text button and compared line by line (CRs included) with
# the expected text, the header's date and time masked.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT
e2e_start_display

user_name="$(id -un)"
common_app="C:\\users\\$user_name\\AppData\\Local\\Tarnwell"
tree='HKCU\Software\VB and VBA Program Settings'

# The search buffer of 256 characters as the support library returns it.
buffer_of() { printf '%-256s' "$1"; }

# Compares the clipboard's report with the expected lines (one per argument; the
# header is masked).
check_report() {
  local scenario="$1"; shift
  local out="$E2E_BUILD/e2e/$scenario"
  local expected="$out/expected.txt" actual="$out/actual.txt"
  { printf '%s' "Tarnwell System Environment Report Date: <masked>"
    for line in "$@"; do printf '\r%s' "$line"; done; } > "$expected"
  # Mask the header's date and time: everything up to its closing CR.
  { printf '%s' "Tarnwell System Environment Report Date: <masked>"
    tail -c +42 "$out/clipboard.txt" | sed -z 's/^[^\r]*//'; } > "$actual"
  if ! cmp -s "$expected" "$actual"; then
    echo "--- $scenario: expected (<) and copied (>) reports differ:" >&2
    diff <(tr '\r' '\n' < "$expected") <(tr '\r' '\n' < "$actual") >&2 || true
    e2e_fail "$scenario report"
  fi
}

run_and_copy() {
  local scenario="$1"
  e2e_wait_window
  e2e_click copy_text
  e2e_clipboard "$E2E_BUILD/e2e/$scenario/clipboard.txt"
  e2e_buttons > "$E2E_BUILD/e2e/$scenario/buttons.txt"
}

# The same workstation's report as a collecting script writes it, as text and as JSON,
# checked against the schema and against the report the window showed; the JSON goes
# to the reports the summary is made of.
fleet="$E2E_BUILD/e2e/fleet"
rm -rf "$fleet" && mkdir -p "$fleet/reports"
collect_files() {
  local scenario="$1" out="$E2E_BUILD/e2e/$1"
  mkdir -p "$E2E_DRIVE_C/collected"
  "$TARNWELL_WINE" "$E2E_EXE" /report "C:\\collected\\$scenario.txt" || e2e_fail "$scenario: /report"
  "$TARNWELL_WINE" "$E2E_EXE" /report "C:\\collected\\$scenario.json" /format:json \
    || e2e_fail "$scenario: /report /format:json"
  cp "$E2E_DRIVE_C/collected/$scenario.txt" "$E2E_DRIVE_C/collected/$scenario.json" "$out/"
  cp "$out/$scenario.json" "$fleet/reports/"
  python3 "$here/fleet/validate_report.py" "$E2E_TOP/docs/report.schema.json" "$out/$scenario.json" \
    || e2e_fail "$scenario: the JSON report does not validate"
  python3 "$here/fleet/check_fleet_files.py" report "$out/clipboard.txt" "$out/$scenario.txt" \
    "$out/$scenario.json" || e2e_fail "$scenario: the collected files differ from the window's report"
}

form_sizes_empty=("" "Saved Form Sizes" "" "PostspecsFormSize: " "Solidane FormSize: "
  "3DFacetFilesFormSize: " "3DFilesFormSize: " "3DSectionsFormSize: " "Tessilon FormSize: "
  "Swathmark FormSize: " "Loomwright FormSize: ")

# (a) A bare machine: nothing of the suite installed.
e2e_new_prefix bare
e2e_launch
run_and_copy bare
# The expected report is the one the host tests use; its first line is the header.
mapfile -t bare_lines < <(tail -n +2 "$here/../data/bare_machine_report.txt")
check_report bare "${bare_lines[@]}"
collect_files bare
grep -qx "Test EPSG definitions disabled" "$E2E_BUILD/e2e/bare/buttons.txt" || e2e_fail "bare: Test enabled"
grep -qx "Update EPSG app location disabled" "$E2E_BUILD/e2e/bare/buttons.txt" || e2e_fail "bare: Update enabled"
e2e_finish bare

# (b) A full installation.
e2e_new_prefix full
for f in GeoTIFF_PCS_codes.csv QRX_EPSG_definitions.dat plotwick.ini projection.csv datum.csv \
         EPSG_v10.mdb tbl/colours.tbl; do
  e2e_put_file "C:\\Bin\\Tarnwell\\${f//\//\\}"
done
for p in Plotwick/plotwick.exe Solidane/Solidane.exe Ferrolog/Ferrolog.exe Invernis/Invernis.exe; do
  e2e_put_file "C:\\Apps\\${p//\//\\}"
done
e2e_reg "$tree\\Quillmere\\Projection" "UTM 32N" "EPSG:32632"
e2e_reg "$tree\\Quillmere\\Projection" "Lambert 93" "EPSG:2154"
e2e_reg "$tree\\Quillmere\\DatumTransform" "NTF to RGF93" "1053"
e2e_reg 'HKLM\SOFTWARE\Quillmere\EPSG_projections_database' FileName '  C:\Bin\Tarnwell\EPSG_v10.mdb  '
e2e_reg "$tree\\Quillmere\\Gantrel\\Selected Projection" Name "UTM 32N"
e2e_reg 'HKCU\SOFTWARE\Quillmere\Gantrel\Projection' Parameters1 "0,9996,500000"
e2e_reg "$tree\\Quillmere\\Gantrel\\Projection" Parameters2 "32N  "
e2e_reg 'HKLM\SOFTWARE\Quillmere\QRX_Invernis_setup' CWD 'C:\Inversions'
e2e_reg "$tree\\Quillmere\\Solidane" CWD 'C:\Models  '
e2e_reg "$tree\\Quillmere\\Solidane" MRU1 'C:\Models\a.sol'
e2e_reg 'HKCU\SOFTWARE\Quillmere\Solidane' MRU3 'C:\Models\c.sol'
e2e_reg "$tree\\Quillmere\\Plotwick" PostspecsFormSize "10,20,300,400"
e2e_reg 'HKLM\SOFTWARE\Quillmere\Solidane' FormSize "1,2,3,4"
e2e_reg "$tree\\Quillmere\\Plotwick" 3DFacetFilesFormSize "5,6,7,8"
e2e_reg "$tree\\Quillmere\\Plotwick" 3DFilesFormSize "9,10,11,12"
e2e_reg "$tree\\Quillmere\\Plotwick" 3DSectionsFormSize "13,14,15,16"
e2e_reg 'HKCU\SOFTWARE\Quillmere\Tessilon' FormSize "17,18,19,20"
e2e_reg "$tree\\Quillmere\\Swathmark" FormSize "21,22,23,24"
e2e_reg "$tree\\Quillmere\\Loomwright" FormSize "25,26,27,28"
e2e_reg "$tree\\Quillmere\\Sondrix" Weighting "L2"
e2e_reg 'HKLM\SOFTWARE\Quillmere\Sondrix' ZPadding "3"
e2e_reg "$tree\\Quillmere\\Sondrix" ZongeSearchRadius "250"
e2e_reg "$tree\\Quillmere\\Sondrinv" ResistivityIterations "12"
e2e_reg 'HKCU\SOFTWARE\Quillmere\Sondrinv' ChargeabilityAlphas "0.1,1,1"
export WINEPATH='C:\Apps\Plotwick;C:\Apps\Solidane;C:\Apps\Ferrolog;C:\Apps\Invernis'
e2e_launch
run_and_copy full
unset WINEPATH
check_report full "" "VB and VBA Program Settings exists" "Quillmere Settings key exists" \
  "" "Tarnwell Folder exists" \
  "" "Plotwick Path: C:\\Apps\\Plotwick" \
  "" "Solidane Path: $(buffer_of 'C:\Apps\Solidane\Solidane.exe')" \
  "" "Ferrolog Path: $(buffer_of 'C:\Apps\Ferrolog\Ferrolog.exe')" \
  "" "Invernis Path: $(buffer_of 'C:\Apps\Invernis\Invernis.exe')" \
  "" "Plotwick GeoTIFF_PCS_codes file exists in bin folder" \
  "EPSG_projections_database in registry: C:\\Bin\\Tarnwell\\EPSG_v10.mdb" \
  "Plotwick QRX_EPSG_definitions file exists in bin folder" \
  "" "Plotwick Settings Folder C:\\Bin\\Tarnwell exists" \
  "Plotwick Ini file plotwick.ini exists" \
  "Plotwick colour table folder C:\\Bin\\Tarnwell\\tbl exists" \
  "" "Number of saved projections: 2" \
  "" "Number of saved datum transforms: 1" \
  "" "Projection Name: UTM 32N" "Projection Parameters1: 0,9996,500000" \
  "Projection Parameters2: 32N  " \
  "" "QRX_Invernis_setup CWD: C:\\Inversions" "" "Solidane CWD: C:\\Models  " \
  "QRX_Invernis_setup MRU: C:\\Models\\a.sol" "QRX_Invernis_setup MRU: C:\\Models\\c.sol" \
  "" "Saved Form Sizes" "" "PostspecsFormSize: 10,20,300,400" "Solidane FormSize: 1,2,3,4" \
  "3DFacetFilesFormSize: 5,6,7,8" "3DFilesFormSize: 9,10,11,12" \
  "3DSectionsFormSize: 13,14,15,16" "Tessilon FormSize: 17,18,19,20" \
  "Swathmark FormSize: 21,22,23,24" "Loomwright FormSize: 25,26,27,28" \
  "" "Sondrix Settings" "" "Weighting: L2" "ZPadding: 3" "DepthMesh: " "ObsFormat: " \
  "ZongeDepthMesh: " "ZongePolygonClip: " "ZongeSearchRadius: 250" \
  "" "Sondrinv Settings" "" "Resistivity Iterations: 12" "Resistivity ChiFactor: " \
  "Resistivity InitialMethod: " "Resistivity InitialModel: " "Resistivity ReferenceModel: " \
  "Resistivity AlphaMethod: " "Resistivity Alphas: " "Chargeability Iterations: " \
  "Chargeability ChiFactor: " "Chargeability InitialMethod: " "Chargeability InitialModel: " \
  "Chargeability ReferenceModel: " "Chargeability AlphaMethod: " "Chargeability Alphas: 0.1,1,1"
grep -qx "Test EPSG definitions enabled" "$E2E_BUILD/e2e/full/buttons.txt" || e2e_fail "full: Test disabled"
WINEPATH='C:\Apps\Plotwick;C:\Apps\Solidane;C:\Apps\Ferrolog;C:\Apps\Invernis' collect_files full
grep -qx "Update EPSG app location enabled" "$E2E_BUILD/e2e/full/buttons.txt" || e2e_fail "full: Update disabled"
e2e_finish full

# (c) The definitions file only in the per-user folder, no suite folder.
e2e_new_prefix per_user
e2e_put_file "$common_app\\QRX_EPSG_definitions.dat"
e2e_launch
run_and_copy per_user
check_report per_user "" "VB and VBA Program Settings does not exist" \
  "" "Tarnwell Folder does not exist" \
  "" "Plotwick Path not defined" "" "Solidane Path not defined" \
  "" "Ferrolog Path not defined" "" "Invernis Path not defined" \
  "" "Plotwick GeoTIFF_PCS_codes file does not exist" \
  "" "EPSG_projections_database file does not exist" \
  "" "Plotwick QRX_EPSG_definitions file exists in CommonAppDir folder" \
  "Plotwick Settings Folder C:\\Bin\\Tarnwell does not exist" \
  "${form_sizes_empty[@]}"
grep -qx "Test EPSG definitions enabled" "$E2E_BUILD/e2e/per_user/buttons.txt" || e2e_fail "per_user: Test disabled"
collect_files per_user
# The summary of the three: one row each, every cell the report's own check.
mkdir -p "$E2E_DRIVE_C/all_reports"
cp "$fleet/reports/"*.json "$E2E_DRIVE_C/all_reports/"
"$TARNWELL_WINE" "$E2E_EXE" /summary 'C:\all_reports' 'C:\summary.csv' || e2e_fail "/summary"
python3 "$here/fleet/check_fleet_files.py" summary "$E2E_DRIVE_C/summary.csv" \
  "$fleet/reports/bare.json" "$fleet/reports/full.json" "$fleet/reports/per_user.json" \
  || e2e_fail "/summary: the table differs from the reports"
echo "fleet summary: ok"
e2e_finish per_user

# (d) No support library: the program alone in a folder of its own.
e2e_new_prefix no_library
mkdir -p "$E2E_DRIVE_C/Program"
cp "$E2E_EXE" "$E2E_DRIVE_C/Program/"
mkdir -p "$E2E_DRIVE_C/Bin/Tarnwell"
e2e_launch "$E2E_DRIVE_C/Program/tarnwell_env.exe"
e2e_dialog "$E2E_BUILD/e2e/no_library/message.txt"
grep -qx "An error occurred while locating the file: File not found: QRX_Intel_Win32.dll" \
  "$E2E_BUILD/e2e/no_library/message.txt" || e2e_fail "no_library message: $(cat "$E2E_BUILD/e2e/no_library/message.txt")"
run_and_copy no_library
check_report no_library "" "VB and VBA Program Settings does not exist" "" "Tarnwell Folder exists"
e2e_finish no_library
