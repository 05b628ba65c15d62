#!/usr/bin/env bash
# tarnwell_env.exe /report FILE, as a script runs it: no window and no dialog, the process
# ends by itself, the file holds exactly what Copy Text gives on the same workstation,
# messages follow the report, an existing file is never replaced, and the exit codes
# say what happened. Also /?, /version and command lines that cannot be read.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT
e2e_start_display
out="$E2E_BUILD/e2e/report_switch"

# Runs the program with the arguments, waits up to a minute for it to end by itself and
# fails if a window of it appears meanwhile; REPORT_EXIT is its exit code.
run_unattended() {
  local exe="$1"; shift
  "$TARNWELL_WINE" "$exe" "$@" >"$out/console.txt" 2>/dev/null &
  local pid=$! seen=""
  for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    xdotool search --onlyvisible --name "^${E2E_CAPTION}\$" >/dev/null 2>&1 && seen=1
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    e2e_fail "$* did not end by itself"
  fi
  REPORT_EXIT=0
  wait "$pid" || REPORT_EXIT=$?
  [ -z "$seen" ] || e2e_fail "$* showed a window"
}
expect_exit() { [ "$REPORT_EXIT" = "$1" ] || e2e_fail "$2: exit code $REPORT_EXIT, not $1"; }
# A report without its header's date and time.
body_of() { sed -z 's/^Tarnwell System Environment Report Date: [^\r]*//' "$1"; }
# A report file's text as the pane holds it, its CR LF line ends as single CRs; nothing
# when a line of the file ends otherwise, so that a comparison with it fails.
pane_text_of() {
  python3 -c '
import sys
data = open(sys.argv[1], "rb").read()
if b"\r" in data.replace(b"\r\n", b"") or b"\n" in data.replace(b"\r\n", b""):
    sys.exit(1)
sys.stdout.buffer.write(data.replace(b"\r\n", b"\r"))' "$1"
}

# (a) The sample workstation: the file is what Copy Text gives, but for the clock.
e2e_new_prefix report_switch
cp -r "$E2E_TOP/docs/sample_workstation" "$E2E_DRIVE_C/sample_workstation"
"$TARNWELL_WINE" cmd /c 'C:\sample_workstation\sample.cmd' >/dev/null 2>&1
mkdir -p "$E2E_DRIVE_C/reports"
run_unattended "$E2E_EXE" /report 'C:\reports\first.txt'
expect_exit 0 "/report"
written="$E2E_DRIVE_C/reports/first.txt"
e2e_start_program
e2e_click copy_text
e2e_clipboard "$out/clipboard.txt"
e2e_click done
e2e_wait_exit
pane_text_of "$written" >"$out/first_pane.txt"
cmp -s <(body_of "$out/first_pane.txt") <(body_of "$out/clipboard.txt") \
  || e2e_fail "/report wrote other lines than Copy Text copies, or not with CR LF line ends"
head -c 41 "$written" | grep -q '^Tarnwell System Environment Report Date: ' \
  || e2e_fail "/report: no header"
grep -q 'Number of saved projections: 2' "$written" || e2e_fail "/report: not the sample's report"

# (b) An existing file is left as it is.
cp "$written" "$out/first.txt"
run_unattended "$E2E_EXE" /report 'C:\reports\first.txt'
expect_exit 2 "/report onto an existing file"
cmp -s "$written" "$out/first.txt" || e2e_fail "/report changed an existing file"

# (c) The switch in another form and case.
run_unattended "$E2E_EXE" -REPORT 'C:\reports\second.txt'
expect_exit 0 "-REPORT"
cmp -s <(body_of "$written") <(body_of "$E2E_DRIVE_C/reports/second.txt") \
  || e2e_fail "-REPORT wrote another report"

# (d) A folder that does not exist: nothing written, and the reason on the console.
run_unattended "$E2E_EXE" /report 'C:\no such folder\r.txt'
expect_exit 4 "/report into a missing folder"
[ ! -e "$E2E_DRIVE_C/no such folder" ] || e2e_fail "/report made the missing folder"

# (d') A FILE that can never hold a file: a device name or a folder.
for file in 'COM1' 'C:\AUX.txt' 'C:\reports'; do
  run_unattended "$E2E_EXE" /report "$file"
  expect_exit 4 "/report $file"
done
[ ! -e "$E2E_DRIVE_C/AUX.txt" ] || e2e_fail "/report wrote C:\AUX.txt"

# (e) Command lines that cannot be read.
# A fullwidth quotation mark (U+FF02) or a division slash (U+2215) is no switch: read
# through the ANSI code page they would arrive as '"' and '/', and make "/version".
quote="$(printf '\xef\xbc\x82')" slash="$(printf '\xe2\x88\x95')"
for arguments in "/bogus" "/report" "/report a.txt b.txt" "/report /format:json" \
                 "$quote/version$quote" \
                 "${slash}version"; do
  # Wine reads the Unix arguments in the locale's character set.
  # shellcheck disable=SC2086
  LC_ALL=C.UTF-8 run_unattended "$E2E_EXE" $arguments
  expect_exit 3 "$arguments"
done
grep -q 'Usage: tarnwell_env.exe' "$out/console.txt" || e2e_fail "no usage on the console"
"$WINESERVER" -k >/dev/null 2>&1 || true
echo "report_switch: ok"

# (f) No support library: the partial report, then the message after an empty line.
e2e_new_prefix report_switch_no_library
mkdir -p "$E2E_DRIVE_C/Program" "$E2E_DRIVE_C/Bin/Tarnwell"
cp "$E2E_EXE" "$E2E_DRIVE_C/Program/"
run_unattended "$E2E_DRIVE_C/Program/tarnwell_env.exe" /report 'C:\partial.txt'
expect_exit 1 "/report without the support library"
{ printf '\r\r%s\r\r%s\r\r%s' "VB and VBA Program Settings does not exist" "Tarnwell Folder exists" \
    "An error occurred while locating the file: File not found: QRX_Intel_Win32.dll"; } \
  >"$out/partial_expected.txt"
cmp -s "$out/partial_expected.txt" <(body_of <(pane_text_of "$E2E_DRIVE_C/partial.txt")) \
  || e2e_fail "/report without the support library wrote: $(tr '\r' '|' <"$E2E_DRIVE_C/partial.txt")"
"$WINESERVER" -k >/dev/null 2>&1 || true
echo "report_switch_no_library: ok"

# (f') Stored values that are long, not text, hold line breaks or cannot be read, or are
# stored in one view of HKLM\SOFTWARE only; a long PATH folder before the one holding the
# program. Each row: a check id, its status and value in the JSON, and the line the text
# report shows.
e2e_new_prefix report_switch_values
mkdir -p "$E2E_DRIVE_C/Apps" "$E2E_DRIVE_C/$(printf 'L%.0s' $(seq 150))/$(printf 'P%.0s' $(seq 150))"
long_folder="$E2E_DRIVE_C/$(printf 'L%.0s' $(seq 150))/$(printf 'P%.0s' $(seq 150))"
for program in plotwick.exe Solidane.exe; do
  printf 'MZ' >"$E2E_DRIVE_C/Apps/$program"
  printf 'MZ' >"$long_folder/$program"
done
python3 - "$out/values.reg" <<'PY'
import sys
def text(s): return "hex(1):" + ",".join("%02x" % b for b in (s + "\0").encode("utf-16-le"))
rows = [
  (r"HKEY_CURRENT_USER\SOFTWARE\Quillmere\Tessilon", "FormSize", "dword:00003231"),
  (r"HKEY_CURRENT_USER\SOFTWARE\Quillmere\Loomwright", "FormSize", "hex(b):00,00,00,00,00,01,00,00"),
  (r"HKEY_CURRENT_USER\SOFTWARE\Quillmere\Plotwick", "3DFilesFormSize", "hex:0d,0a,41"),
  (r"HKEY_CURRENT_USER\SOFTWARE\Quillmere\Plotwick", "PostspecsFormSize",
   text("C:\\M\r\nPlotwick Path: C:\\Evil")),
  (r"HKEY_LOCAL_MACHINE\SOFTWARE\Quillmere\EPSG_projections_database", "FileName",
   text("D:\\" + "d" * 296 + ".mdb")),
  (r"HKEY_CURRENT_USER\SOFTWARE\Quillmere\Solidane", "CWD",
   '"C:\\\\' + "w" * (1 << 20) + '"'),
  (r"HKEY_CURRENT_USER\SOFTWARE\Quillmere\Swathmark", "FormSize", text("locked")),
]
with open(sys.argv[1], "w", encoding="utf-16") as reg:
    reg.write("Windows Registry Editor Version 5.00\r\n")
    for key, name, data in rows:
        reg.write('\r\n[%s]\r\n"%s"=%s\r\n' % (key, name, data))
PY
"$TARNWELL_WINE" regedit /S "$(e2e_windows_path "$out/values.reg")" >/dev/null 2>&1 \
  || e2e_fail "regedit could not import the values"
# One value in each view of HKLM\SOFTWARE only.
for view in 32 64; do
  key='HKLM\SOFTWARE\Quillmere\Solidane' name=FormSize
  [ "$view" = 64 ] && key='HKLM\SOFTWARE\Quillmere\Plotwick' name=3DSectionsFormSize
  "$TARNWELL_WINE" reg add "$key" /v "$name" /d "only in $view" /reg:$view /f >/dev/null 2>&1 \
    || e2e_fail "reg could not add $key in the $view-bit view"
done
# Wine keeps a key's lock in the running server only, not in the prefix's registry files:
# a persistent server, started once regedit's has gone, stays up until both reports are
# written.
"$WINESERVER" -w
"$WINESERVER" -p
"$TARNWELL_WINE" "$E2E_PROBE" deny-read 'SOFTWARE\Quillmere\Swathmark' >/dev/null 2>&1 \
  || e2e_fail "could not lock the Swathmark key"
long_windows_path="C:\\$(printf 'L%.0s' $(seq 150))\\$(printf 'P%.0s' $(seq 150))"
WINEPATH="$long_windows_path;C:\\Apps" run_unattended "$E2E_EXE" /report 'C:\values.json' /format:json
expect_exit 1 "/report with a lookup that failed"
WINEPATH="$long_windows_path;C:\\Apps" run_unattended "$E2E_EXE" /report 'C:\values.txt'
expect_exit 1 "/report as text with a lookup that failed"
python3 - "$E2E_DRIVE_C/values.json" "$E2E_DRIVE_C/values.txt" <<'PY' || e2e_fail "the values were not shown as stored"
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
text = open(sys.argv[2], "rb").read().decode("utf-8-sig", "replace").split("\r\n")
checks = {c["id"]: c for c in report["checks"]}
forged = "C:\\M\r\nPlotwick Path: C:\\Evil"
rows = [  # id, status, value, line
  ("saved.tessilon.form_size", "value", "12849", "Tessilon FormSize: 12849"),
  ("saved.loomwright.form_size", "value", "1099511627776", "Loomwright FormSize: 1099511627776"),
  ("saved.plotwick.3d_files_form_size", "value", "0D 0A 41", "3DFilesFormSize: 0D 0A 41"),
  ("saved.plotwick.postspecs_form_size", "value", forged,
   "PostspecsFormSize: C:\\M<CR><LF>Plotwick Path: C:\\Evil"),
  ("epsg_projections_database", "value", "D:\\" + "d" * 296 + ".mdb",
   "EPSG_projections_database in registry: D:\\" + "d" * 296 + ".mdb"),
  ("saved.solidane.cwd", "value", "C:\\" + "w" * (1 << 20), "Solidane CWD: C:\\" + "w" * (1 << 20)),
  ("saved.swathmark.form_size", "unreadable", None, "Swathmark FormSize: "),
  ("program.plotwick", "found", "C:\\Apps", "Plotwick Path: C:\\Apps"),
  ("program.solidane", "found", "C:\\Apps\\Solidane.exe", None),
  ("saved.solidane.form_size", "value", "only in 32", "Solidane FormSize: only in 32"),
  ("saved.plotwick.3d_sections_form_size", "value", "only in 64", "3DSectionsFormSize: only in 64"),
]
# The view of HKLM\SOFTWARE a value came from; none for HKCU and for what is no value.
views = {"saved.solidane.form_size": "32", "saved.plotwick.3d_sections_form_size": "64",
         "saved.tessilon.form_size": None, "program.plotwick": None}
failed = False
for id, status, value, line in rows:
    c = checks.get(id, {})
    if c.get("status") != status or c.get("value") != value or (line and c.get("line") != line):
        print("%s: %r" % (id, {k: str(v)[:80] for k, v in c.items()}))
        failed = True
    if id in views and c.get("view") != views[id]:
        print("%s: view %r, not %r" % (id, c.get("view"), views[id]))
        failed = True
    if line and line not in text:
        print("%s: no line %r in the text report" % (id, line[:80]))
        failed = True
for lines in (text, report["text"].split("\r")):
    if "Plotwick Path: C:\\Evil" in lines:
        print("a value forged a report line")
        failed = True
if not any(m.startswith("Some lookups failed") and "saved.swathmark.form_size (error 5" in m
           for m in report["messages"]):
    print("no message names the lookup that failed: %r" % report["messages"])
    failed = True
sys.exit(1 if failed else 0)
PY
"$WINESERVER" -k >/dev/null 2>&1 || true
echo "report_switch_values: ok"

# (g) /? shows the usage in a message box and on the console.
e2e_new_prefix report_switch_usage
"$TARNWELL_WINE" "$E2E_EXE" '/?' >"$out/usage_console.txt" 2>/dev/null &
E2E_PID=$!
e2e_dialog "$out/usage_box.txt"
e2e_wait_exit
grep -q '^tarnwell_env.exe \[/report FILE \[/format:json\]\]' "$out/usage_box.txt" \
  || e2e_fail "/?: no usage box"
grep -q '4 the file could not be created' "$out/usage_box.txt" || e2e_fail "/?: box without exit 4"
grep -q '4  the file could not be created' "$out/usage_console.txt" \
  || e2e_fail "/?: no usage on the console"
echo "report_switch_usage: ok"

# (h) /version prints the version of the binaries' version information and exits 0.
version=$(sed -n 's/^project(tarnwell_env VERSION \([0-9.]*\).*/\1/p' "$E2E_TOP/CMakeLists.txt")
for switch in /version --version -VERSION; do
  run_unattended "$E2E_EXE" "$switch"
  expect_exit 0 "$switch"
  [ "$(tr -d '\r' <"$out/console.txt")" = "tarnwell_env $version" ] \
    || e2e_fail "$switch printed: $(cat "$out/console.txt")"
done
echo "report_switch_version: ok"
