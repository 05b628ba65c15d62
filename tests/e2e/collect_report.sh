#!/usr/bin/env bash
# collect_report.cmd as a logon script runs it, under Wine, against a folder standing in
# for the share (its name holds a space): the text and JSON reports appear there, the
# text with CR LF line ends and the JSON as the schema describes it, and status.log gets
# one line per run with the UTC time, computer, user, version and both exit codes with
# their meanings. A second run finds both collected; a share that cannot be reached puts
# the line into %TEMP%\tarnwell_collect.log; a missing program is logged, not waited on.
# First, the schema and its checker on the hand-made samples in fleet/.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
schema="$E2E_TOP/docs/report.schema.json"
validate=(python3 "$here/fleet/validate_report.py" "$schema")

# (a) The valid samples pass; the invalid ones fail, with each of their faults named once.
"${validate[@]}" "$here/fleet/valid_full.json" "$here/fleet/valid_unreadable.json" \
  || e2e_fail "the valid samples do not validate"
faults=$("${validate[@]}" "$here/fleet/invalid_checks.json" "$here/fleet/invalid_top.json") \
  && e2e_fail "the invalid samples validate"
expected="invalid_checks.json: checks/0/value|invalid_checks.json: checks/1/value|\
invalid_checks.json: checks/2/value|invalid_checks.json: checks/3/value|\
invalid_checks.json: checks/4|invalid_checks.json: checks/5|invalid_checks.json: checks/6/error|\
invalid_checks.json: checks/7/status|invalid_checks.json: checks/8/id|\
invalid_checks.json: checks/9|invalid_checks.json: checks|invalid_top.json: (top)|\
invalid_top.json: (top)|invalid_top.json: generated_utc|invalid_top.json: text|\
invalid_top.json: tool|invalid_top.json: windows"
found=$(sed "s|^$here/fleet/||" <<<"$faults" | cut -d: -f1,2 | paste -sd'|')  # file: where
[ "$found" = "$expected" ] || e2e_fail "the invalid samples gave: $faults"
echo "collect_report_schema: ok"

e2e_require_built "$E2E_EXE"
version=$(sed -n 's/^project(tarnwell_env VERSION \([0-9.]*\).*/\1/p' "$E2E_TOP/CMakeLists.txt")
out="$E2E_BUILD/e2e/collect_report"
scenario_prefix=""
cleanup() {
  e2e_stop_display
  [ -z "$scenario_prefix" ] || rm -rf "$scenario_prefix"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
e2e_start_display
rm -rf "$out"
e2e_new_prefix collect_report
scenario_prefix="$WINEPREFIX"
: >"$out/runs.log"
# A workstation whose local time is not UTC, so that a local time cannot pass for UTC.
export TZ=Asia/Kolkata

tools="$E2E_DRIVE_C/Tools/tarnwell_env"
mkdir -p "$tools" "$E2E_DRIVE_C/support share/tarnwell"
cp "$E2E_EXE" "$(dirname "$E2E_EXE")/QRX_Intel_Win32.dll" "$E2E_TOP/package/collect_report.cmd" \
  "$tools/"
share="$E2E_DRIVE_C/support share/tarnwell"
IFS=';' read -r computer user temp < <("$TARNWELL_WINE" cmd /c 'echo %COMPUTERNAME%;%USERNAME%;%TEMP%' \
                                          2>/dev/null | tr -d '\r')
local_log="$(e2e_unix_path "$temp")/tarnwell_collect.log"

# Runs the script with the share given; COLLECT_EXIT is its exit code.
collect() {
  COLLECT_EXIT=0
  timeout 300 "$TARNWELL_WINE" cmd /c 'C:\Tools\tarnwell_env\collect_report.cmd' "$1" \
    >>"$out/runs.log" 2>&1 || COLLECT_EXIT=$?
  [ "$COLLECT_EXIT" != 124 ] || e2e_fail "collect_report.cmd $1 did not end"
}
# What a run's status line says after its time.
fields() { echo "computer=$computer user=$user version=$version text=$1 json=$2"; }
# A log holds these lines (one per run, CR LF ended), each after a UTC time as ISO 8601
# within two minutes of now: check_log LOG LINES.
check_log() {
  local log="$1" stamp age
  [ -f "$log" ] || e2e_fail "no $log"
  [ "$(grep -cv $'\r$' "$log" || true)" = 0 ] || e2e_fail "$log has lines not ended by CR LF"
  [ "$(tr -d '\r' <"$log" | cut -d' ' -f2-)" = "$2" ] || e2e_fail "$log holds: $(cat "$log")"
  for stamp in $(tr -d '\r' <"$log" | cut -d' ' -f1); do
    [[ "$stamp" =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$ ]] \
      || e2e_fail "$log: $stamp is no ISO 8601 UTC time"
    age=$(( $(date -u +%s) - $(date -u -d "$stamp" +%s) ))
    [ "$age" -ge -5 ] && [ "$age" -le 120 ] || e2e_fail "$log: $stamp is not the UTC time now"
  done
}

# (b) Collected: both reports in the share, one line in status.log, nothing kept locally.
collect 'C:\support share\tarnwell'
[ "$COLLECT_EXIT" = 0 ] || e2e_fail "collect_report.cmd: exit code $COLLECT_EXIT, not 0"
report="$share/$computer-$user"
[ -f "$report.txt" ] && [ -f "$report.json" ] || e2e_fail "the share holds: $(cd "$share" && echo *)"
head -c 41 "$report.txt" | grep -q '^Tarnwell System Environment Report Date: ' \
  || e2e_fail "$report.txt is no report"
perl -0777 -ne 'exit(/\r\n/ && !/\r(?!\n)|(?<!\r)\n/ ? 0 : 1)' "$report.txt" \
  || e2e_fail "$report.txt has line ends other than CR LF"
"${validate[@]}" "$report.json" || e2e_fail "$report.json does not validate"
python3 -c 'import json, sys; d = json.load(open(sys.argv[1], encoding="utf-8"))
sys.exit(0 if [d["computer"], d["user"], d["version"]] == sys.argv[2:] else 1)' \
  "$report.json" "$computer" "$user" "$version" || e2e_fail "$report.json names another workstation"
check_log "$share/status.log" "$(fields '0 (collected)' '0 (collected)')"
[ ! -e "$local_log" ] || e2e_fail "the line went to %TEMP% too: $(cat "$local_log")"
[ -z "$(find "${local_log%/*}" -maxdepth 1 -iname 'tarnwell_utc*')" ] \
  || e2e_fail "a temporary file is left in %TEMP%"
cp "$report.txt" "$report.json" "$out/"

# (c) Again: both are there already and stay as they are; a second line.
collect 'C:\support share\tarnwell'
[ "$COLLECT_EXIT" = 2 ] || e2e_fail "collect_report.cmd again: exit code $COLLECT_EXIT, not 2"
cmp -s "$report.txt" "$out/${report##*/}.txt" && cmp -s "$report.json" "$out/${report##*/}.json" \
  || e2e_fail "a second run changed the collected reports"
check_log "$share/status.log" "$(fields '0 (collected)' '0 (collected)')
$(fields '2 (already collected)' '2 (already collected)')"

# (d) A share that cannot be reached: nothing made there, the line kept in %TEMP%.
collect 'C:\no such share\tarnwell'
[ "$COLLECT_EXIT" = 4 ] || e2e_fail "an unreachable share: exit code $COLLECT_EXIT, not 4"
[ ! -e "$E2E_DRIVE_C/no such share" ] || e2e_fail "the unreachable share was made"
unwritten='4 (cannot be written: share unreachable or no rights)'
check_log "$local_log" "$(fields "$unwritten" "$unwritten")"
cp "$share/status.log" "$local_log" "$out/"

# (e) No program where the script looks: a line says so, and no dialog waits for anyone.
rm "$tools/tarnwell_env.exe"
collect 'C:\support share\tarnwell'
[ "$COLLECT_EXIT" != 0 ] || e2e_fail "without the program: exit code 0"
[ "$(tr -d '\r' <"$share/status.log" | tail -n1 | cut -d' ' -f2-)" \
  = "$(version=unknown fields '9009 (program not found)' '9009 (program not found)')" ] \
  || e2e_fail "without the program, status.log ends: $(tail -n1 "$share/status.log")"
echo "collect_report: ok"
