#!/usr/bin/env bash
# REGEDIT4 export and import of a tree of KEYS keys (10 values each: texts, binaries,
# numbers) with regtool, and side by side in the same runs with Wine's own regedit (/E
# and /S) and with the registry's floor (bench/regfile_floor: one registry call per
# value, no text to format or parse) on the same tree: the rows of scripts/bench.sh (see
# there) on standard output.
#   scripts/bench-regfile.sh BUILD_DIR KEYS RUNS
# Every run checks that regtool's export is the same file (for the 2,000-key tree, the
# very bytes recorded below) and that both importers leave the registry as the tree was.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/wine-env.sh"
build="$(cd "$1" && pwd)"
keys="$2"
runs="$3"
regtool_exe="$build/tools/regtool/regtool.exe"
floor_exe="$build/bench/regfile_floor/regfile_floor.exe"
for exe in "$regtool_exe" "$floor_exe"; do
  [ -f "$exe" ] || { echo "no $exe: build that preset first" >&2; exit 1; }
done
# The export of the 2,000-key tree, as every earlier version of regtool wrote it.
reference_sha256=f2ab590888be23ce65ab61507f48eb2aa949ed269c4b47715ec16f1d62bbfb1b

work="$build/bench-regfile"
rm -rf "$work/files"
mkdir -p "$work/files"
tarnwell_prefix "$work/prefix"
"$WINESERVER" -p 2>/dev/null || true  # (already running is fine)
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

key='HKEY_CURRENT_USER\Software\tarnwell-bench'
subkey="${key#HKEY_CURRENT_USER\\}"
win() { echo "Z:${1//\//\\}"; }
query() { "$TARNWELL_WINE" reg query "$key" /s 2>/dev/null | tr -d '\r'; }
delete_tree() { "$TARNWELL_WINE" reg delete "$key" /f >/dev/null 2>&1 || true; }
fail() { echo "bench-regfile: $*" >&2; exit 1; }
# timed ROW figure|anchor COMMAND...: runs the command and prints its sample line.
timed() {
  local row="$1" which="$2"; shift 2
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || fail "failed: $*"
  end=$(date +%s%N)
  last_seconds=$(awk -v n=$((end - start)) 'BEGIN {printf "%.4f", n / 1e9}')
  printf 'sample\t%s\t%s\t%s\n' "$row" "$which" "$last_seconds"
}

# also_figure_of ROW: the time just taken, again as the figure of ROW.
last_seconds=""
also_figure_of() { printf 'sample\t%s\tfigure\t%s\n' "$1" "$last_seconds"; }

perl "$top/tests/e2e/reg_tree.pl" bench "$key" $((keys / 50)) >"$work/files/tree.reg"
delete_tree
"$TARNWELL_WINE" regedit /S "$(win "$work/files/tree.reg")"
query >"$work/files/original.txt"
[ "$(grep -c '^HKEY_' "$work/files/original.txt")" -gt "$keys" ] || fail "the tree was not made"
export_row="export $keys keys"
import_row="import $keys keys"
export_floor_row="export $keys keys, floor"
import_floor_row="import $keys keys, floor"
printf 'row\t%s\ttime\t0\tregtool export\tregedit /E\n' "$export_row"
printf 'row\t%s\ttime\t0\tregtool export\tregistry floor\n' "$export_floor_row"
printf 'row\t%s\ttime\t0\tregtool import\tregedit /S\n' "$import_row"
printf 'row\t%s\ttime\t0\tregtool import\tregistry floor\n' "$import_floor_row"
# One untimed round of each, so that both find the server and the files warm.
"$TARNWELL_WINE" "$regtool_exe" export "$key" "$(win "$work/files/first.reg")" >/dev/null
"$TARNWELL_WINE" regedit /E "$(win "$work/files/warm.reg")" "$key" >/dev/null 2>&1
"$TARNWELL_WINE" "$floor_exe" export "$subkey" "$(win "$work/files/floor.bin")" >/dev/null \
  || fail "the floor exporter failed"
if [ "$keys" = 2000 ]; then
  sha256sum "$work/files/first.reg" | grep -q "^$reference_sha256 " \
    || fail "the export is not the reference file"
fi

for _ in $(seq "$runs"); do
  rm -f "$work/files/ours.reg" "$work/files/theirs.reg" "$work/files/floor.bin"
  # Each regtool run is the figure of both rows, each anchor timed right beside it.
  timed "$export_row" figure "$TARNWELL_WINE" "$regtool_exe" export "$key" "$(win "$work/files/ours.reg")"
  also_figure_of "$export_floor_row"
  timed "$export_row" anchor "$TARNWELL_WINE" regedit /E "$(win "$work/files/theirs.reg")" "$key"
  timed "$export_floor_row" anchor "$TARNWELL_WINE" "$floor_exe" export "$subkey" "$(win "$work/files/floor.bin")"
  cmp -s "$work/files/ours.reg" "$work/files/first.reg" || fail "the export changed between runs"
  [ -s "$work/files/theirs.reg" ] || fail "regedit /E wrote nothing"

  delete_tree
  timed "$import_row" figure "$TARNWELL_WINE" "$regtool_exe" import "$(win "$work/files/first.reg")"
  also_figure_of "$import_floor_row"
  query | cmp -s - "$work/files/original.txt" || fail "the registry differs after regtool's import"
  delete_tree
  timed "$import_row" anchor "$TARNWELL_WINE" regedit /S "$(win "$work/files/first.reg")"
  query | cmp -s - "$work/files/original.txt" || fail "the registry differs after regedit's import"
  delete_tree
  timed "$import_floor_row" anchor "$TARNWELL_WINE" "$floor_exe" import "$(win "$work/files/floor.bin")"
  query | cmp -s - "$work/files/original.txt" || fail "the registry differs after the floor's import"
done
printf 'note\t%s\tthe same file in every run, and all three imports left the registry as the tree was\n' "$export_row"
