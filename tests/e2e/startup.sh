#!/usr/bin/env bash
# The program starts on a bare prefix, Copy Text puts the header line (and, before the
# report issue lands everything else, whatever follows it) on the clipboard, Done ends it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT

e2e_new_prefix startup
e2e_start_display
e2e_start_program
out="$E2E_BUILD/e2e/startup"

e2e_buttons > "$out/buttons.txt"
grep -qx "Test EPSG definitions disabled" "$out/buttons.txt" || e2e_fail "Test button not disabled"
grep -qx "Update EPSG app location disabled" "$out/buttons.txt" || e2e_fail "Update button not disabled"
grep -qx "Copy Text enabled" "$out/buttons.txt" || e2e_fail "Copy Text not enabled"

e2e_click copy_text
e2e_clipboard "$out/clipboard.txt"
first_line=$(head -c 200 "$out/clipboard.txt" | tr '\r' '\n' | head -n1)
today=$(date +%-m/%-d/%Y)
[[ "$first_line" =~ ^"Tarnwell System Environment Report Date: $today "[0-9]{1,2}:[0-9]{2}:[0-9]{2}" "(AM|PM)$ ]] \
  || e2e_fail "header line was: $first_line"
header_length=$(( ${#first_line} + 1 ))
[ "$(head -c "$header_length" "$out/clipboard.txt" | tail -c 1 | od -An -c | tr -d ' ')" = '\r' ] \
  || e2e_fail "the header does not end with a CR"
[ "$(tr -cd '\n' < "$out/clipboard.txt" | wc -c)" = 0 ] || e2e_fail "the report holds a line feed"

# A second Copy Text gives the same text.
e2e_click copy_text
e2e_clipboard "$out/clipboard2.txt"
cmp -s "$out/clipboard.txt" "$out/clipboard2.txt" || e2e_fail "Copy Text twice differs"

e2e_screenshot "$out/screenshot.png"
e2e_click done
e2e_wait_exit
echo "startup: ok"
