#!/usr/bin/env bash
# Start-up under Wine and Xvfb: the time from starting tarnwell_env on a full
# workstation (with PROJECTIONS saved projections) until its window with the finished
# report is on screen, beside the same time for the same window with an empty pane,
# runs interleaved; then where the load handler's time goes, by kind of call. Prints
# the rows of scripts/bench.sh (see there). LONG_BYTES > 0 saves one more projection
# whose value is that many bytes long (the settings are read whole).
#   scripts/bench-startup.sh PROJECTIONS RUNS [LONG_BYTES]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/wine-env.sh"
source "$top/tests/e2e/lib.sh"
projections="$1"
runs="$2"
long_bytes="${3:-0}"
trap e2e_stop_display EXIT
e2e_start_display >&2
e2e_new_prefix "bench_startup_$projections"

# A full workstation: the suite folder, programs on PATH, stored settings.
mkdir -p "$E2E_DRIVE_C/Bin/Tarnwell/tbl" "$E2E_DRIVE_C/Apps/Plotwick"
for f in GeoTIFF_PCS_codes.csv QRX_EPSG_definitions.dat plotwick.ini projection.csv datum.csv EPSG_1.mdb; do
  printf x > "$E2E_DRIVE_C/Bin/Tarnwell/$f"
done
printf x > "$E2E_DRIVE_C/Apps/Plotwick/plotwick.exe"
settings='HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Quillmere'
perl -e '
  my ($settings, $projections, $long_bytes) = @ARGV;
  print "REGEDIT4\r\n\r\n[$settings\\Solidane]\r\n";
  print "\"MRU$_\"=\"C:\\\\Models\\\\m$_.sol\"\r\n" for 1 .. 6;
  print "\r\n[$settings\\Sondrix]\r\n\"Weighting\"=\"L2\"\r\n\r\n[$settings\\Projection]\r\n";
  printf "\"EPSG:%d\"=\"UTM zone %d\"\r\n", 32600 + $_, $_ for 1 .. $projections;
  print "\"EPSG:99999\"=\"", "x" x $long_bytes, "\"\r\n" if $long_bytes > 0;
' "$settings" "$projections" "$long_bytes" > "$E2E_BUILD/e2e/bench_startup_$projections/settings.reg"
"$TARNWELL_WINE" regedit /S "$(e2e_windows_path "$E2E_BUILD/e2e/bench_startup_$projections/settings.reg")"
export WINEPATH='C:\Apps\Plotwick'
# Keep one wineserver up for all runs, as on a desktop where Wine is already running.
"$WINESERVER" -w
"$WINESERVER" -p

# time_window EXE: the seconds until the window is visible; the window is then closed.
time_window() {
  E2E_CAPTION="Tarnwell System Files"
  e2e_launch "$1"
  e2e_wait_window >&2
  awk -v ms=$((E2E_SHOWN_MS - E2E_STARTED_MS)) 'BEGIN {printf "%.4f", ms / 1000}'
  kill "$E2E_PID"
  wait "$E2E_PID" 2>/dev/null || true
}

# One untimed start of each, so that both find the libraries and the files warm.
time_window "$E2E_EXE" >/dev/null
time_window "$E2E_BUILD/tests/tools/empty_pane_window/empty_pane_window.exe" >/dev/null

row="start-up, $projections saved projections"
[ "$long_bytes" -eq 0 ] || row="$row and one of $long_bytes bytes"
printf 'row\t%s\ttime\t0\ttarnwell_env\tsame window, empty pane\n' "$row"
for _ in $(seq "$runs"); do
  printf 'sample\t%s\tfigure\t%s\n' "$row" "$(time_window "$E2E_EXE")"
  printf 'sample\t%s\tanchor\t%s\n' "$row" \
    "$(time_window "$E2E_BUILD/tests/tools/empty_pane_window/empty_pane_window.exe")"
done
"$TARNWELL_WINE" "$E2E_BUILD/bench/startup_parts/startup_parts_bench.exe" "$runs" | tr -d '\r' |
  sed "s/\tstart-up parts\t/\t$row\t/"
