#!/usr/bin/env bash
# collect_report.cmd as a logon script runs it, under Wine, against a folder standing in
# for the share (its name holds a space): the text and JSON reports appear there, the
# text with CR LF line ends and the JSON as the schema describes it, and status.log gets
# one line per run with the UTC time, computer, user, version and both exit codes with
# their meanings. A second run finds both collected; a share that cannot be reached puts
# the line into %TEMP%\tarnwell_collect.log; user, computer and share names holding
# characters cmd reads as syntax or outside the code page are collected and logged as
# they are, or refused; a missing program is logged, not waited on.
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
invalid_checks.json: checks/9|invalid_checks.json: checks/11/view|invalid_checks.json: checks/12|\
invalid_checks.json: checks|invalid_top.json: (top)|\
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

# Runs the script with the share given, in a console of its own as a logon script has
# one: the script writes status.log in code page 65001, which needs a console. Further
# arguments go before the share, to a batch file C:\Tools\as_computer.cmd when given.
# COLLECT_EXIT is the exit code. Wine reads USER (the Windows user name) and the
# arguments in the locale's character set, so in UTF-8.
collect() {
  local script='C:\Tools\tarnwell_env\collect_report.cmd' share="$1"
  shift
  [ $# = 0 ] || script='C:\Tools\as_computer.cmd'
  COLLECT_EXIT=0
  LC_ALL=C.UTF-8 timeout 300 "$TARNWELL_WINE" start /wait cmd /c "$script" "$@" "$share" \
    >>"$out/runs.log" 2>&1 || COLLECT_EXIT=$?
  [ "$COLLECT_EXIT" != 124 ] || e2e_fail "collect_report.cmd $share did not end"
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

# (e) Names that hold what Windows allows and cmd reads as syntax. Each row runs the
# script as USER (empty: the prefix's own) on COMPUTER (empty: Wine's own; else set by a
# batch file that starts the script) into the folder SHARE on C: and expects exit code
# EXIT. A collected row gives exactly COMPUTER-USER.txt and .json in the share, the JSON
# naming the user who ran, and a status.log line in UTF-8 naming both exactly; nothing
# is written anywhere else. Wine's cmd expands "%" again inside a value it has just
# expanded, so it cannot carry "50%off%": the script refuses it (5) and makes no report,
# and the real user "50" after it is still collected. No share holds "%": Wine's cmd
# takes it out of the argument before the script can read it.
cat >"$E2E_DRIVE_C/Tools/as_computer.cmd" <<'EOF'
@set "COMPUTERNAME=%~1"
@"C:\Tools\tarnwell_env\collect_report.cmd" %2
EOF
names=(
  # USER|COMPUTER|SHARE|EXIT
  '50%off%||names share|5'
  '50||names share|0'
  'bang!user||names share|0'
  'a^b&c (x)||names share|0'
  $'micha\xc5\x82||names share|0'
  '|PC!1^2&3 (x)|names share|0'
  '||support ^b!c&d (e)|0'
)
refused='5 (not collected: cmd changed the computer or user name as it read it)'
for row in "${names[@]}"; do
  IFS='|' read -r row_user row_computer row_share row_exit <<<"$row"
  as_user="${row_user:-$user}" as_computer="${row_computer:-$computer}"
  folder="$E2E_DRIVE_C/$row_share"
  mkdir -p "$folder"
  ls -A "$folder" >"$out/before"
  touch "$out/marker"
  "$WINESERVER" -k 2>/dev/null || true  # Wine takes the user name as its server starts
  USER="$as_user" collect "C:\\$row_share" ${row_computer:+"$row_computer"}
  [ "$COLLECT_EXIT" = "$row_exit" ] || e2e_fail "$row: exit code $COLLECT_EXIT, not $row_exit"
  made=$(ls -A "$folder" | grep -vxF -f "$out/before" -e status.log || true)
  # Wine's own cmd leaves the output of each "for /f" command in %TEMP%\CMDxxxx.tmp.
  elsewhere=$(find "$E2E_DRIVE_C" -newer "$out/marker" -type f ! -path "$folder/*" \
                ! -path "${local_log%/*}/CMD*.tmp")
  [ -z "$elsewhere" ] || e2e_fail "$row: written outside the share: $elsewhere"
  last=$(tail -n 1 "$folder/status.log")
  [[ "${last%% *}" =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$ ]] \
    || e2e_fail "$row: status.log ends: $last"
  if [ "$row_exit" = 0 ]; then
    [ "$made" = "$as_computer-$as_user.json"$'\n'"$as_computer-$as_user.txt" ] \
      || e2e_fail "$row: the share got: $made"
    [ "${last#* }" = "$(computer="$as_computer" user="$as_user" fields '0 (collected)' \
                        '0 (collected)')"$'\r' ] \
      || e2e_fail "$row: status.log ends: $last"
    python3 -c 'import json, sys
sys.exit(json.load(open(sys.argv[1], encoding="utf-8"))["user"] != sys.argv[2])' \
      "$folder/$as_computer-$as_user.json" "$as_user" \
      || e2e_fail "$row: the JSON names another user"
  else
    [ -z "$made" ] || e2e_fail "$row: refused, yet the share got: $made"
    [[ "${last#* }" == "computer=$as_computer user="*" version=$version text=$refused \
json=$refused"$'\r' ]] \
      || e2e_fail "$row: status.log ends: $last"
  fi
done

# (f) No program where the script looks: a line says so, and no dialog waits for anyone.
rm "$tools/tarnwell_env.exe"
collect 'C:\support share\tarnwell'
[ "$COLLECT_EXIT" != 0 ] || e2e_fail "without the program: exit code 0"
[ "$(tr -d '\r' <"$share/status.log" | tail -n1 | cut -d' ' -f2-)" \
  = "$(version=unknown fields '9009 (program not found)' '9009 (program not found)')" ] \
  || e2e_fail "without the program, status.log ends: $(tail -n1 "$share/status.log")"
echo "collect_report: ok"
