#!/usr/bin/env bash
# Start-up benchmark under Wine and Xvfb: the time from starting tarnwell_env on a full
# installation until its window (with the finished report) is on screen, next to the
# same time for an empty Win32 program, runs interleaved; prints the medians.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/wine-env.sh"
source "$top/scripts/lib.sh"
source "$top/tests/e2e/lib.sh"
runs="${1:-9}"
"$top/scripts/build.sh" "$TARNWELL_WINE_ARCH" >/dev/null
trap e2e_stop_display EXIT
e2e_start_display
e2e_new_prefix bench_startup

# A full installation: suite folder, programs on PATH, stored settings.
mkdir -p "$E2E_DRIVE_C/Bin/Tarnwell/tbl" "$E2E_DRIVE_C/Apps/Plotwick"
for f in GeoTIFF_PCS_codes.csv QRX_EPSG_definitions.dat plotwick.ini projection.csv datum.csv EPSG_1.mdb; do
  printf x > "$E2E_DRIVE_C/Bin/Tarnwell/$f"
done
printf x > "$E2E_DRIVE_C/Apps/Plotwick/plotwick.exe"
tree='HKCU\Software\VB and VBA Program Settings\Quillmere'
for i in 1 2 3 4 5 6; do e2e_reg "$tree\\Solidane" "MRU$i" "C:\\Models\\m$i.sol"; done
e2e_reg "$tree\\Sondrix" Weighting L2
e2e_reg "$tree\\Projection" "UTM 32N" "EPSG:32632"
export WINEPATH='C:\Apps\Plotwick'
# Keep one wineserver up for all runs, as on a desktop where Wine is already running.
"$WINESERVER" -w
"$WINESERVER" -p

time_window() {  # exe caption -> milliseconds until the window is visible
  local exe="$1" caption="$2"
  E2E_CAPTION="$caption"
  e2e_launch "$exe"
  e2e_wait_window
  echo $((E2E_SHOWN_MS - E2E_STARTED_MS))
  kill "$E2E_PID"
  wait "$E2E_PID" 2>/dev/null || true
}

ours=() empty=()
for _ in $(seq "$runs"); do
  ours+=("$(time_window "$E2E_EXE" "Tarnwell System Files")")
  empty+=("$(time_window "$E2E_BUILD/tools/empty_window/empty_window.exe" "Empty Window")")
done
echo "runs: $runs (interleaved)"
echo "tarnwell_env, full installation: median $(median "${ours[@]}") ms  (all: ${ours[*]})"
echo "empty Win32 program:             median $(median "${empty[@]}") ms  (all: ${empty[*]})"
