#!/usr/bin/env bash
# tarnwell_env.exe /summary over hostile reports, as anyone who can write to the share
# could leave them: cells a spreadsheet would run as formulas arrive with a leading
# quote; a NUL, a repeated id or an id named as a fixed column has its report named
# and left out; ids beyond the columns' limit and reports beyond the size limit are
# named; the exit codes say so. Then folders built to take memory (200 reports at the
# size limit, 200 of 16 MB, one of 300,000 ids, one at the limit full of ids), each
# kept under the ceiling below. The cases are the table in fleet/summary_cases.py.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
e2e_require_built "$E2E_EXE"

# The largest resident set the program's process may reach, in MB: the table's limit
# of 128 MB twice (the rows kept, then the CSV made of them), one report of at most
# 4 MB being read, and Wine's own share of some 30 MB. 200 reports at the size limit
# reach about 275 MB with the 64-bit build.
ceiling_mb=320

work="$(mktemp -d /tmp/tarnwell-summary-XXXXXX)"
finish() {
  rm -rf "$work"
  e2e_stop_display
}
trap finish EXIT
e2e_start_display
e2e_new_prefix summary_hostile
python3 "$here/fleet/summary_cases.py" "$TARNWELL_WINE" "$E2E_EXE" "$work" "$ceiling_mb" \
  || e2e_fail "summary_hostile"
echo "summary_hostile: ok"
