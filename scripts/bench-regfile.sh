#!/usr/bin/env bash
# REGEDIT4 export and import of a tree of KEYS keys (10 values each: texts, binaries,
# numbers) with regtool, and side by side in the same runs with Wine's own regedit (/E
# and /S) on the same tree: the rows of scripts/bench.sh (see there) on standard output.
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
[ -f "$regtool_exe" ] || { echo "no $regtool_exe: build that preset first" >&2; exit 1; }
# The export of the 2,000-key tree, as every earlier version of regtool wrote it.
reference_sha256=f2ab590888be23ce65ab61507f48eb2aa949ed269c4b47715ec16f1d62bbfb1b

work="$build/bench-regfile"
rm -rf "$work/files"
mkdir -p "$work/files"
tarnwell_prefix "$work/prefix"
"$WINESERVER" -p 2>/dev/null || true  # (already running is fine)
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

key='HKEY_CURRENT_USER\Software\tarnwell-bench'
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
  printf 'sample\t%s\t%s\t%s\n' "$row" "$which" "$(awk -v n=$((end - start)) 'BEGIN {printf "%.4f", n / 1e9}')"
}

perl "$top/tests/e2e/reg_tree.pl" bench "$key" $((keys / 50)) >"$work/files/tree.reg"
delete_tree
"$TARNWELL_WINE" regedit /S "$(win "$work/files/tree.reg")"
query >"$work/files/original.txt"
[ "$(grep -c '^HKEY_' "$work/files/original.txt")" -gt "$keys" ] || fail "the tree was not made"
export_row="export $keys keys"
import_row="import $keys keys"
printf 'row\t%s\ttime\t0\tregtool export\tregedit /E\n' "$export_row"
printf 'row\t%s\ttime\t0\tregtool import\tregedit /S\n' "$import_row"
# One untimed round of each, so that both find the server and the files warm.
"$TARNWELL_WINE" "$regtool_exe" export "$key" "$(win "$work/files/first.reg")" >/dev/null
"$TARNWELL_WINE" regedit /E "$(win "$work/files/warm.reg")" "$key" >/dev/null 2>&1
if [ "$keys" = 2000 ]; then
  sha256sum "$work/files/first.reg" | grep -q "^$reference_sha256 " \
    || fail "the export is not the reference file"
fi

for _ in $(seq "$runs"); do
  rm -f "$work/files/ours.reg" "$work/files/theirs.reg"
  timed "$export_row" figure "$TARNWELL_WINE" "$regtool_exe" export "$key" "$(win "$work/files/ours.reg")"
  timed "$export_row" anchor "$TARNWELL_WINE" regedit /E "$(win "$work/files/theirs.reg")" "$key"
  cmp -s "$work/files/ours.reg" "$work/files/first.reg" || fail "the export changed between runs"
  [ -s "$work/files/theirs.reg" ] || fail "regedit /E wrote nothing"

  delete_tree
  timed "$import_row" figure "$TARNWELL_WINE" "$regtool_exe" import "$(win "$work/files/first.reg")"
  query | cmp -s - "$work/files/original.txt" || fail "the registry differs after regtool's import"
  delete_tree
  timed "$import_row" anchor "$TARNWELL_WINE" regedit /S "$(win "$work/files/first.reg")"
  query | cmp -s - "$work/files/original.txt" || fail "the registry differs after regedit's import"
done
printf 'note\t%s\tthe same file in every run, and both imports left the registry as the tree was\n' "$export_row"
