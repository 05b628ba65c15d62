#!/usr/bin/env bash
# The release zip as a user gets it: built for the architecture these tests run, unpacked
# into a fresh prefix's C: drive and started from there. The window opens with the whole
# report of a bare workstation (the support library beside it is found), Copy Text gives
# it, Done ends it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT

zip="$("$here/../../scripts/package.sh" "$TARNWELL_WINE_ARCH" | tail -n1)"
e2e_new_prefix release_package
out="$E2E_BUILD/e2e/release_package"
mkdir -p "$E2E_DRIVE_C/Tools"
unzip -q "$zip" -d "$E2E_DRIVE_C/Tools"
exe=$(ls "$E2E_DRIVE_C"/Tools/tarnwell_env-*/tarnwell_env.exe)
e2e_start_display
e2e_start_program "$exe"
e2e_click copy_text
e2e_clipboard "$out/clipboard.txt"
head -c 41 "$out/clipboard.txt" | grep -q "^Tarnwell System Environment Report Date: " \
  || e2e_fail "release_package: the report does not start with its header"
# The last line of a bare workstation's report: the report ran to its end.
tr '\r' '\n' <"$out/clipboard.txt" | tail -n1 | grep -qx "Loomwright FormSize: " \
  || e2e_fail "release_package: the report stopped early: $(tr '\r' '\n' <"$out/clipboard.txt" | tail -n2)"
e2e_finish release_package
