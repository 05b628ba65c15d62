#!/usr/bin/env bash
# "Save report…" from the pane's right-click menu, through the system's Save As dialog,
# with a real keyboard and pointer: the dialog opens in the user's Documents; the default
# name holds the computer's name and the date; the file holds Copy Text's lines with CR
# LF line ends; an existing file is replaced only after the user confirms.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT
e2e_start_display
e2e_new_prefix save_report
out="$E2E_BUILD/e2e/save_report"
mkdir -p "$E2E_DRIVE_C/reports"
# The prefix's Documents is a link to the Linux home; this scenario's is a folder of its own.
documents="$E2E_DRIVE_C/users/$(id -un)/Documents"
rm -f "$documents" && mkdir -p "$documents"
e2e_start_program
e2e_click copy_text
e2e_clipboard "$out/clipboard.txt"
# What a saved report holds: the pane's lines, each ended by CR LF.
python3 -c '
import sys
sys.stdout.buffer.write(open(sys.argv[1], "rb").read().replace(b"\r", b"\r\n"))' \
  "$out/clipboard.txt" >"$out/expected_file.txt"

# Waits for a top-level window with this exact title.
wait_for_window() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && { sleep 0.5; return 0; }
    sleep 0.1
  done
  e2e_fail "no window '$1'"
}
# Opens the Save As dialog from the pane's menu.
open_save_dialog() {
  e2e_click pane 3
  "$TARNWELL_WINE" "$E2E_PROBE" menu >/dev/null 2>&1 || e2e_fail "no menu on a right-click"
  e2e_keys s
  wait_for_window "Save As"
}
# Types a file name over the dialog's and presses Enter.
type_file_name() {
  e2e_keys ctrl+a
  xdotool type --delay 40 "$1"
  e2e_keys Return
}
wait_for_file() {
  for _ in $(seq 50); do [ -s "$1" ] && return 0; sleep 0.1; done
  e2e_fail "no file $1"
}

# (a) The name the dialog offers, kept, in the folder typed in front of it.
open_save_dialog
e2e_keys Home
xdotool type --delay 40 'C:\reports\'
e2e_keys Return
sleep 1
default=$(ls "$E2E_DRIVE_C/reports" | head -n1)
default_name="^Tarnwell report .+ $(date +%Y-%m-%d)\.txt\$"
[[ "$default" =~ $default_name ]] \
  || e2e_fail "the default name was '$default'"
cmp -s "$out/expected_file.txt" "$E2E_DRIVE_C/reports/$default" \
  || e2e_fail "the saved report is not Copy Text's lines with CR LF line ends"

# (b) A name of the user's.
open_save_dialog
type_file_name 'C:\reports\mine.txt'
wait_for_file "$E2E_DRIVE_C/reports/mine.txt"
cmp -s "$out/expected_file.txt" "$E2E_DRIVE_C/reports/mine.txt" || e2e_fail "mine.txt differs"

# (b2) A bare name goes to Documents, where the dialog opened.
open_save_dialog
type_file_name 'in_documents.txt'
wait_for_file "$documents/in_documents.txt"
cmp -s "$out/expected_file.txt" "$documents/in_documents.txt" || e2e_fail "in_documents.txt differs"

# (c) Replacing asks first: No keeps the file, Yes replaces it.
printf 'kept' >"$E2E_DRIVE_C/reports/mine.txt"
open_save_dialog
type_file_name 'C:\reports\mine.txt'
sleep 1
e2e_screenshot "$out/confirm.png"
e2e_keys n
sleep 0.5
e2e_keys Escape
sleep 0.5
[ "$(cat "$E2E_DRIVE_C/reports/mine.txt")" = kept ] || e2e_fail "the file was replaced without a Yes"
open_save_dialog
type_file_name 'C:\reports\mine.txt'
sleep 1
e2e_keys y
sleep 1
cmp -s "$out/expected_file.txt" "$E2E_DRIVE_C/reports/mine.txt" || e2e_fail "Yes did not replace the file"

# The report in the window is what it was.
e2e_click copy_text
e2e_clipboard "$out/after.txt"
cmp -s "$out/clipboard.txt" "$out/after.txt" || e2e_fail "saving changed the report"
e2e_finish save_report
