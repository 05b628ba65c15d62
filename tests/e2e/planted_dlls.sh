#!/usr/bin/env bash
# DLLs left where a program loaded by name would pick them up are never loaded: a
# support library in the current folder or a folder on PATH, a riched20.dll beside the
# program or in the current folder, with Wine told to prefer such native copies to its
# own as Windows would. The stand-in (tests/tools/planted_library) leaves a mark when loaded.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT
planted="$E2E_BUILD/tests/tools/planted_library/planted_library.dll"
library="$(dirname "$E2E_EXE")/QRX_Intel_Win32.dll"
e2e_require_built "$E2E_EXE" "$library" "$planted" "$E2E_PROBE"
out="$E2E_BUILD/e2e/planted_dlls"
e2e_new_prefix planted_dlls
e2e_start_display

program="$E2E_DRIVE_C/Program"
work="$E2E_DRIVE_C/Work"
on_path="$E2E_DRIVE_C/OnPath"
mkdir -p "$program" "$work" "$on_path" "$E2E_DRIVE_C/reports"
cp "$E2E_EXE" "$program/"
cp "$planted" "$work/QRX_Intel_Win32.dll"
cp "$planted" "$on_path/QRX_Intel_Win32.dll"
cp "$planted" "$work/riched20.dll"
cp "$planted" "$program/riched20.dll"
export WINEPATH='C:\OnPath'
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;riched20=n,b"

no_marks() {
  local marks
  marks=$(cd "$E2E_DRIVE_C" && find Program Work OnPath -name '*.loaded' | xargs)
  [ -z "$marks" ] || e2e_fail "$1: a planted DLL was loaded ($marks)"
}

# Runs /report from the current folder C:\Work; REPORT is the file, REPORT_EXIT the code.
report_from_work() {
  REPORT="$E2E_DRIVE_C/reports/$1.txt"
  REPORT_EXIT=0
  (cd "$work" && timeout 120 "$TARNWELL_WINE" 'C:\Program\tarnwell_env.exe' /report \
     "C:\\reports\\$1.txt" >/dev/null 2>&1) || REPORT_EXIT=$?
}

# (a) No support library beside the program: the copies in the current folder and on
# PATH are not taken for it; the report says the library is missing.
report_from_work alone
[ "$REPORT_EXIT" = 1 ] || e2e_fail "alone: exit code $REPORT_EXIT, not 1"
tr '\r' '\n' <"$REPORT" | tail -n1 \
  | grep -qx "An error occurred while locating the file: File not found: QRX_Intel_Win32.dll" \
  || e2e_fail "alone: the report ends: $(tr '\r' '\n' <"$REPORT" | tail -n1)"
no_marks "alone"

# (b) The library beside the program is the one used, planted copies or not.
cp "$library" "$program/"
report_from_work beside
[ "$REPORT_EXIT" = 0 ] || e2e_fail "beside: exit code $REPORT_EXIT, not 0: $(tr '\r' '\n' <"$REPORT" | tail -n1)"
no_marks "beside"

# (c) The window opens with the system's rich-text control and shows the whole report.
(cd "$work" && exec "$TARNWELL_WINE" 'C:\Program\tarnwell_env.exe' >/dev/null 2>&1) &
E2E_PID=$!
E2E_STARTED_MS=$(date +%s%3N)
e2e_wait_window
e2e_click copy_text
e2e_clipboard "$out/clipboard.txt"
tr '\r' '\n' <"$out/clipboard.txt" | tail -n1 | grep -qx "Loomwright FormSize: " \
  || e2e_fail "window: the report stopped early: $(tr '\r' '\n' <"$out/clipboard.txt" | tail -n2)"
no_marks "window"
e2e_finish planted_dlls
