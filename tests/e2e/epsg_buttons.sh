#!/usr/bin/env bash
# The two EPSG buttons, end to end: definitions files written by the writer tool (under
# Wine) into the prefix's C: drive, the program's message boxes read from the real
# dialogs, the report lines of the Update button read back through Copy Text, and the
# copied file compared byte for byte. Updates whose copy fails show the reason after
# their lines; a file over the size limit is refused at stage 0 by its size.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"

# A folder nobody may write to, also for root (whom file modes do not stop): the
# immutable attribute where the file system has it.
read_only_folders=()
make_read_only() {
  if [ "$(id -u)" = 0 ]; then chattr +i "$1" 2>/dev/null || return 1; else chmod a-w "$1"; fi
  read_only_folders+=("$1")
}
make_writable_again() {
  local folder
  for folder in "${read_only_folders[@]}"; do
    if [ "$(id -u)" = 0 ]; then chattr -i "$folder"; else chmod u+w "$folder"; fi
  done
  read_only_folders=()
}
end_of_script() { make_writable_again; e2e_stop_display; }
trap end_of_script EXIT
e2e_start_display

bin_file='C:\Bin\Tarnwell\QRX_EPSG_definitions.dat'
common_file="C:\\users\\$(id -un)\\AppData\\Local\\Tarnwell\\QRX_EPSG_definitions.dat"
reader_failure="An error occurred while reading the EPSG definitions at stage "
files="$E2E_BUILD/e2e/epsg_files"
mkdir -p "$files"

# Expects the next message box to show exactly this text.
expect_dialog() {
  local scenario="$1" name="$2" text="$3"
  local file="$E2E_BUILD/e2e/$scenario/$name.txt"
  e2e_dialog "$file"
  [ "$(cat "$file")" = "$text" ] \
    || e2e_fail "$scenario: message box '$(cat "$file")', wanted '$text'"
}

expect_buttons_enabled() {
  local out="$E2E_BUILD/e2e/$1/buttons.txt"
  e2e_buttons > "$out"
  grep -qx "Test EPSG definitions enabled" "$out" || e2e_fail "$1: Test button not enabled"
  grep -qx "Update EPSG app location enabled" "$out" || e2e_fail "$1: Update button not enabled"
}

# The files: a valid one with texts in every record, and the smallest file with the count
# of section 3 (at byte 78, after section 1's count and record and section 2's) set to -1.
e2e_new_prefix epsg_valid
writer="$E2E_BUILD/tests/tools/epsg_writer/epsg_writer.exe"
"$TARNWELL_WINE" "$writer" "$(e2e_windows_path "$files/valid.dat")" \
  --counts 3,1,2,0,4,1,2,1,2 --integer-count 2 --texts synthetic >/dev/null 2>&1 \
  || e2e_fail "the writer could not write valid.dat"
"$TARNWELL_WINE" "$writer" "$(e2e_windows_path "$files/negative.dat")" >/dev/null 2>&1 \
  || e2e_fail "the writer could not write negative.dat"
printf '\377\377\377\377' | dd of="$files/negative.dat" bs=1 seek=78 conv=notrunc status=none

# (a) A valid file in the bin folder.
e2e_put_file "$bin_file" "$files/valid.dat"
e2e_launch
e2e_wait_window
expect_buttons_enabled epsg_valid
e2e_click test_epsg
expect_dialog epsg_valid verdict "The EPSG definition file $bin_file is valid"
e2e_finish epsg_valid

# (b) A file with a negative count: the reader's stage message first, then the verdict.
e2e_new_prefix epsg_negative
e2e_put_file "$bin_file" "$files/negative.dat"
e2e_launch
e2e_wait_window
e2e_click test_epsg
expect_dialog epsg_negative reader \
  "${reader_failure}3 : Invalid count -1: a count cannot be below 0"
expect_dialog epsg_negative verdict "The EPSG definition file $bin_file is not valid"
e2e_finish epsg_negative

# (c) The file only in the per-user folder: Update copies it into the bin folder and
# reports its steps; Test still reads the file found at start-up.
e2e_new_prefix epsg_update
mkdir -p "$(e2e_unix_path 'C:\Bin\Tarnwell')"
e2e_put_file "$common_file" "$files/valid.dat"
e2e_launch
e2e_wait_window
expect_buttons_enabled epsg_update
e2e_click copy_text
e2e_clipboard "$E2E_BUILD/e2e/epsg_update/before.txt"
e2e_click update_epsg
e2e_click copy_text
e2e_clipboard "$E2E_BUILD/e2e/epsg_update/after.txt"
{ cat "$E2E_BUILD/e2e/epsg_update/before.txt"
  for line in "Test QRX_EPSG_definitions location" \
              "Test for QRX_EPSG_definitions file in TarnwellDir" \
              "Test for QRX_EPSG_definitions file in WindowsCommonAppDir" \
              "Retuned QRX_EPSG_definitions location: $bin_file" \
              "Plotwick QRX_EPSG_definitions file exists"; do
    printf '\r\r%s' "$line"
  done; } > "$E2E_BUILD/e2e/epsg_update/expected.txt"
update_out="$E2E_BUILD/e2e/epsg_update"
if ! cmp -s "$update_out/expected.txt" "$update_out/after.txt"; then
  diff <(tr '\r' '\n' < "$update_out/expected.txt") <(tr '\r' '\n' < "$update_out/after.txt") >&2 \
    || true
  e2e_fail "epsg_update: report after Update"
fi
cmp -s "$files/valid.dat" "$(e2e_unix_path "$bin_file")" || e2e_fail "epsg_update: file not copied"
e2e_click test_epsg
expect_dialog epsg_update verdict "The EPSG definition file $common_file is valid"
e2e_finish epsg_update

# (d) The file found at start-up is gone when Test is pressed: it fails at stage 0 and
# is not created by the attempt.
e2e_new_prefix epsg_gone
e2e_put_file "$bin_file" "$files/valid.dat"
e2e_launch
e2e_wait_window
rm "$(e2e_unix_path "$bin_file")"
e2e_click test_epsg
e2e_dialog "$E2E_BUILD/e2e/epsg_gone/reader.txt"
reader_text="$(cat "$E2E_BUILD/e2e/epsg_gone/reader.txt")"
[[ "$reader_text" == "${reader_failure}0 : "?* ]] \
  || e2e_fail "epsg_gone: message box '$reader_text'"
expect_dialog epsg_gone verdict "The EPSG definition file $bin_file is not valid"
[ ! -e "$(e2e_unix_path "$bin_file")" ] || e2e_fail "epsg_gone: the missing file was created"
e2e_finish epsg_gone

# The Update button when the file is only in the per-user folder and its copy into the
# bin folder fails: the report lines of a failed copy, then the reason in a message box.
expect_failed_update() {
  local scenario="$1" out="$E2E_BUILD/e2e/$1"
  e2e_launch
  e2e_wait_window
  e2e_click copy_text
  e2e_clipboard "$out/before.txt"
  e2e_click update_epsg
  e2e_dialog "$out/reason.txt"
  local reason prefix="An error occurred while copying the EPSG definitions file $common_file to $bin_file: "
  reason="$(cat "$out/reason.txt")"
  [[ "$reason" == "$prefix"?* ]] || e2e_fail "$scenario: message box '$reason'"
  echo "$scenario: ${reason#"$prefix"}"
  e2e_click copy_text
  e2e_clipboard "$out/after.txt"
  { cat "$out/before.txt"
    for line in "Test QRX_EPSG_definitions location" \
                "Test for QRX_EPSG_definitions file in TarnwellDir" \
                "Test for QRX_EPSG_definitions file in WindowsCommonAppDir" \
                "Retuned QRX_EPSG_definitions location: $bin_file" \
                "Plotwick QRX_EPSG_definitions file does not exist"; do
      printf '\r\r%s' "$line"
    done; } > "$out/expected.txt"
  if ! cmp -s "$out/expected.txt" "$out/after.txt"; then
    diff <(tr '\r' '\n' < "$out/expected.txt") <(tr '\r' '\n' < "$out/after.txt") >&2 || true
    e2e_fail "$scenario: report after Update"
  fi
}

# (e) The bin folder is read-only.
e2e_new_prefix epsg_read_only_bin
mkdir -p "$(e2e_unix_path 'C:\Bin\Tarnwell')"
e2e_put_file "$common_file" "$files/valid.dat"
if make_read_only "$(e2e_unix_path 'C:\Bin\Tarnwell')"; then
  expect_failed_update epsg_read_only_bin
  [ ! -e "$(e2e_unix_path "$bin_file")" ] || e2e_fail "epsg_read_only_bin: a file was copied"
  e2e_finish epsg_read_only_bin
  make_writable_again
else
  echo "epsg_read_only_bin: skipped, this file system cannot make a folder read-only for root"
fi

# (f) A folder stands where the definitions file should go.
e2e_new_prefix epsg_folder_in_the_way
mkdir -p "$(e2e_unix_path "$bin_file")"
e2e_put_file "$common_file" "$files/valid.dat"
expect_failed_update epsg_folder_in_the_way
[ -d "$(e2e_unix_path "$bin_file")" ] || e2e_fail "epsg_folder_in_the_way: the folder is gone"
e2e_finish epsg_folder_in_the_way

# (g) A file over the size limit (a sparse file of 1 GiB): refused at stage 0 with its
# size and the limit, before any buffer is allocated.
e2e_new_prefix epsg_too_large
e2e_put_file "$bin_file" "$files/valid.dat"
truncate -s 1G "$(e2e_unix_path "$bin_file")"
e2e_launch
e2e_wait_window
e2e_click test_epsg
too_large="File too large to read: 1073741824 bytes, more than the limit of 536870912 bytes"
expect_dialog epsg_too_large reader "${reader_failure}0 : $too_large"
expect_dialog epsg_too_large verdict "The EPSG definition file $bin_file is not valid"
e2e_finish epsg_too_large
