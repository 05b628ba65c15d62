#!/usr/bin/env bash
# A workstation with a one-megabyte saved setting (the Solidane working folder): the
# window opens in about the time of a normal workstation's, the report holds the value
# whole on one line, Copy Text gives it byte for byte, and scrolling to the end of that
# line does not stall the window. Prints the start-up times of both workstations, runs
# interleaved.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/../../scripts/lib.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT
e2e_start_display
out="$E2E_BUILD/e2e/long_setting"
runs="${E2E_LONG_SETTING_RUNS:-3}"

# The value: a folder path of 1 MiB, letters and blanks after "C:\Models\". (Wine's
# rich-text box lays a line out in a time that grows with its length times the number of
# its digits and punctuation marks: a megabyte of path with a backslash or a digit every
# few characters takes it tens of seconds, whatever the program does.)
value_file="$out/value.txt"
mkdir -p "$out"
perl -e 'my $v = "C:\\Models\\"; my @c = ("a".."z", "A".."Z", " ");
         srand(7); $v .= $c[int rand @c] while length $v < 1048575; print $v, "Z"' >"$value_file"
# REGEDIT4 escapes a backslash in quoted data as two.
{ printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Quillmere\\Solidane]\r\n"CWD"="'
  sed 's/\\/\\\\/g' "$value_file" | tr -d '\n'
  printf '"\r\n'; } >"$out/long.reg"

e2e_new_prefix long_setting_normal
normal_prefix="$WINEPREFIX"
e2e_new_prefix long_setting
long_prefix="$WINEPREFIX"
"$TARNWELL_WINE" regedit /S "$(e2e_windows_path "$out/long.reg")" >/dev/null 2>&1 \
  || e2e_fail "regedit could not import the long value"

# Starts the program on a prefix; E2E_STARTUP_MS is the time until its window is shown.
start_on() {
  export WINEPREFIX="$1"
  e2e_launch
  e2e_wait_window
  E2E_STARTUP_MS=$((E2E_SHOWN_MS - E2E_STARTED_MS))
}
close_program() {
  e2e_click done
  e2e_wait_exit
  "$WINESERVER" -k >/dev/null 2>&1 || true
}

normal=() long=()
for run in $(seq "$runs"); do
  start_on "$normal_prefix"
  normal+=("$E2E_STARTUP_MS")
  close_program
  start_on "$long_prefix"
  long+=("$E2E_STARTUP_MS")
  # The last window stays open for the checks below.
  if [ "$run" -lt "$runs" ]; then close_program; fi
done
echo "start-up, normal workstation:   median $(median "${normal[@]}") ms (${normal[*]})"
echo "start-up, 1 MiB saved setting:  median $(median "${long[@]}") ms (${long[*]})"

e2e_click copy_text
e2e_clipboard "$out/clipboard.txt"
tr '\r' '\n' <"$out/clipboard.txt" | grep -a '^Solidane CWD: ' | head -n1 \
  | sed 's/^Solidane CWD: //' | tr -d '\n' >"$out/copied_value.txt"
cmp -s "$value_file" "$out/copied_value.txt" \
  || e2e_fail "the copied line differs from the stored value ($(wc -c <"$out/copied_value.txt") bytes copied)"

# To the end of the long line and back, then copy again.
e2e_click pane
scrolled_at=$(date +%s%3N)
e2e_keys ctrl+End End Home ctrl+Home
e2e_click copy_text
e2e_clipboard "$out/clipboard2.txt"
echo "scrolled to the end of the long line and back, copied again: $(( $(date +%s%3N) - scrolled_at )) ms"
cmp -s "$out/clipboard.txt" "$out/clipboard2.txt" || e2e_fail "the second copy differs"
e2e_finish long_setting
