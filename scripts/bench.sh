#!/usr/bin/env bash
# The project's benchmark command: builds what it needs, runs every benchmark with RUNS
# interleaved runs of each figure and its anchor, and prints one table of medians.
#   scripts/bench.sh [RUNS] [--scaling]     (RUNS default 7)
# --scaling adds tables of how the figures grow: export and import of 200, 2,000 and
# 20,000 keys, and start-up with 0, 1,000 and 10,000 saved projections.
#
# A benchmark is a command that prints tab-separated lines, which this script gathers
# and formats; to add rows, add a function that runs one to `benchmarks` below:
#   row     ROW  rate|time  BYTES  FIGURE-LABEL  ANCHOR-LABEL
#   sample  ROW  figure|anchor  SECONDS
#   note    ROW  TEXT
# A `rate` row's ratio is the figure's rate as a share of the anchor's (anchor time /
# figure time: 1 is as fast as the anchor, higher is faster); a `time` row's is figure
# time / anchor time (lower is faster). BYTES > 0 adds MB/s to the table.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/lib.sh"
source "$top/scripts/wine-env.sh"
runs=7
scaling=0
for arg in "$@"; do
  case "$arg" in
    --scaling) scaling=1 ;;
    *[!0-9]* | '') echo "usage: scripts/bench.sh [RUNS] [--scaling]" >&2; exit 2 ;;
    *) runs="$arg" ;;
  esac
done
[ "$runs" -ge 1 ] || { echo "RUNS must be at least 1" >&2; exit 2; }

work="$top/build/bench"
mkdir -p "$work"
windows_build="$top/build/$TARNWELL_WINE_ARCH"
echo "building (host, $TARNWELL_WINE_ARCH) ..." >&2
"$top/scripts/build.sh" host epsg_read_bench epsg_writer >/dev/null
"$top/scripts/build.sh" "$TARNWELL_WINE_ARCH" epsg_read_bench regtool regfile_floor tarnwell_env \
  empty_pane_window startup_parts_bench e2e_probe >/dev/null
tarnwell_prefix "$windows_build/wineprefix"

# A definitions file of about SIZE MB whose texts are the EPSG names of proj.db,
# written once: definitions_file SIZE -> path
definitions_file() {
  local file="$work/definitions-$1mb.dat"
  if [ ! -s "$file" ]; then
    "$top/build/host/tests/tools/epsg_writer/epsg_writer" "$file.part" --size-mb "$1" --texts epsg \
      >/dev/null || { echo "bench: no EPSG names: install proj-data" >&2; return 1; }
    mv "$file.part" "$file"
  fi
  echo "$file"
}

# The definitions reader in both builds: ROW-PREFIX FILE RUNS
epsg_read_rows() {
  local prefix="$1" file="$2" n="$3"
  "$top/build/host/bench/epsg_read/epsg_read_bench" "$prefix host" "$file" "$n"
  local exe="$windows_build/bench/epsg_read/epsg_read_bench.exe"
  "$TARNWELL_WINE" "$exe" "$prefix $TARNWELL_WINE_ARCH" "Z:${file//\//\\}" "$n" | tr -d '\r'
}

# sample_median FILE ROW figure|anchor: the median of that row's samples in FILE.
sample_median() {
  median $(awk -F'\t' -v r="$2" -v w="$3" '$1 == "sample" && $2 == r && $3 == w {print $4}' "$1")
}

# Medians of the gathered lines, one table row per ROW in the order they came.
print_table() {
  local lines="$1"
  printf '%-38s %12s %12s %10s  %s\n' "row (medians of $runs runs)" figure anchor ratio "figure vs anchor"
  local rows row kind bytes figure_label anchor_label figure anchor
  rows=$(awk -F'\t' '$1 == "row" {print $2}' "$lines")
  while IFS= read -r row; do
    IFS=$'\t' read -r kind bytes figure_label anchor_label < <(
      awk -F'\t' -v r="$row" '$1 == "row" && $2 == r {print $3 "\t" $4 "\t" $5 "\t" $6; exit}' "$lines")
    figure=$(sample_median "$lines" "$row" figure)
    anchor=$(sample_median "$lines" "$row" anchor)
    awk -v row="$row" -v kind="$kind" -v bytes="$bytes" -v f="$figure" -v a="$anchor" \
        -v labels="$figure_label / $anchor_label" 'BEGIN {
      ratio = (kind == "rate") ? a / f : f / a
      fs = sprintf("%.1f ms", f * 1000); as = sprintf("%.1f ms", a * 1000)
      if (bytes > 0) { fs = sprintf("%.0f MB/s", bytes / 1048576 / f); as = sprintf("%.0f MB/s", bytes / 1048576 / a) }
      printf "%-38s %12s %12s %6.2f x %s  %s\n", row, fs, as, ratio, kind, labels
    }'
  done <<< "$rows"
  awk -F'\t' '$1 == "note" {print "  " $2 ": " $3}' "$lines"
}

# The definitions reader on a file of the real size (about 3 MB): its rate should stay
# at or above half that of one read call.
epsg_read_benchmark() { epsg_read_rows "epsg-read 3 MB" "$(definitions_file 3)" "$runs"; }

# Export and import of the 2,000-key tree against Wine's regedit.
regfile_benchmark() { "$top/scripts/bench-regfile.sh" "$windows_build" 2000 "$runs"; }

# Start-up on a full workstation against the same window with an empty pane.
startup_benchmark() { "$top/scripts/bench-startup.sh" 100 "$runs"; }

benchmarks=(epsg_read_benchmark regfile_benchmark startup_benchmark)
lines="$work/rows.tsv"
: > "$lines"
for benchmark in "${benchmarks[@]}"; do
  echo "running $benchmark ..." >&2
  "$benchmark" >> "$lines"
done
print_table "$lines"

if [ "$scaling" = 1 ]; then
  # figure_medians FILE: "ROW<TAB>median figure<TAB>median anchor" per row of FILE.
  figure_medians() {
    local row
    awk -F'\t' '$1 == "row" {print $2}' "$1" | while IFS= read -r row; do
      printf '%s\t%s\t%s\n' "$row" "$(sample_median "$1" "$row" figure)" \
        "$(sample_median "$1" "$row" anchor)"
    done
  }
  echo
  echo "Export and import by tree size (medians of $runs runs; ms per key should stay flat)"
  printf '%-22s %12s %12s %12s\n' row regtool "ms per key" regedit
  for keys in 200 2000 20000; do
    "$top/scripts/bench-regfile.sh" "$windows_build" "$keys" "$runs" > "$work/regfile-$keys.tsv"
    figure_medians "$work/regfile-$keys.tsv" | awk -F'\t' -v k="$keys" '{
      printf "%-22s %9.0f ms %12.3f %9.0f ms\n", $1, $2 * 1000, $2 * 1000 / k, $3 * 1000 }'
  done
  echo
  echo "Start-up by saved projections (medians of $runs runs)"
  printf '%-36s %12s %16s\n' row tarnwell_env "empty pane"
  for projections in 0 1000 10000; do
    "$top/scripts/bench-startup.sh" "$projections" "$runs" > "$work/startup-$projections.tsv"
    figure_medians "$work/startup-$projections.tsv" | awk -F'\t' '{
      printf "%-36s %9.0f ms %13.0f ms\n", $1, $2 * 1000, $3 * 1000 }'
    awk -F'\t' '$1 == "note" && $3 ~ /load handler/ {print "  " $3}' "$work/startup-$projections.tsv"
  done
fi
