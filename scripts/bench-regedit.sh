#!/usr/bin/env bash
# Export and import of a tree of 2,000 keys with 10 values each (texts, binaries,
# numbers), with regtool and, side by side in the same run, with Wine's own regedit
# (/E and /S) on the same tree. Prints the median wall time of each over RUNS runs and
# the ratio regtool / regedit; checks on the way that every regtool export is the same
# file and that both importers leave the registry as the tree was.
#   scripts/bench-regedit.sh [BUILD_DIR] [RUNS]
# BUILD_DIR is a Windows build with tools/regtool/regtool.exe (default build/win64 or
# build/win32, as Wine on this machine runs). RUNS defaults to 5.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/wine-env.sh"
source "$top/scripts/lib.sh"
build="$(cd "${1:-$top/build/$TARNWELL_WINE_ARCH}" && pwd)"
runs="${2:-5}"
regtool_exe="$build/tools/regtool/regtool.exe"
[ -f "$regtool_exe" ] || { echo "no $regtool_exe: build that preset first" >&2; exit 1; }

work="$build/bench-regedit"
rm -rf "$work/files"
mkdir -p "$work/files"
tarnwell_prefix "$work/prefix"
"$WINESERVER" -p 2>/dev/null || true  # (already running is fine)
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

key='HKEY_CURRENT_USER\Software\tarnwell-bench'
win() { echo "Z:${1//\//\\}"; }
query() { "$TARNWELL_WINE" reg query "$key" /s 2>/dev/null | tr -d '\r'; }
delete_tree() { "$TARNWELL_WINE" reg delete "$key" /f >/dev/null 2>&1 || true; }
now_ms() { date +%s%3N; }
# timed NAME COMMAND...: runs the command, adds its wall time in ms to the list NAME.
declare -A times
timed() {
  local name="$1"; shift
  local start end
  start=$(now_ms)
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  end=$(now_ms)
  times[$name]+="$((end - start)) "
}

perl "$top/tests/e2e/reg_tree.pl" bench "$key" >"$work/files/tree.reg"
delete_tree
"$TARNWELL_WINE" regedit /S "$(win "$work/files/tree.reg")"
query >"$work/files/original.txt"
keys=$(grep -c '^HKEY_' "$work/files/original.txt")
values=$(grep -c '^    ' "$work/files/original.txt")
echo "tree: $keys keys, $values values (file $(wc -c <"$work/files/tree.reg") bytes); $runs runs each"
# One untimed round of each, so that both find the server and the files warm.
"$TARNWELL_WINE" "$regtool_exe" export "$key" "$(win "$work/files/warm.reg")" >/dev/null
"$TARNWELL_WINE" regedit /E "$(win "$work/files/warm-regedit.reg")" "$key" >/dev/null 2>&1

for i in $(seq "$runs"); do
  rm -f "$work/files/ours.reg" "$work/files/theirs.reg"
  timed export_regtool "$TARNWELL_WINE" "$regtool_exe" export "$key" "$(win "$work/files/ours.reg")"
  timed export_regedit "$TARNWELL_WINE" regedit /E "$(win "$work/files/theirs.reg")" "$key"
  if [ "$i" = 1 ]; then
    cp "$work/files/ours.reg" "$work/files/first.reg"
  else
    cmp -s "$work/files/ours.reg" "$work/files/first.reg" || { echo "regtool's export changed between runs" >&2; exit 1; }
  fi
  [ -s "$work/files/theirs.reg" ] || { echo "regedit /E wrote nothing" >&2; exit 1; }
done

for i in $(seq "$runs"); do
  delete_tree
  timed import_regtool "$TARNWELL_WINE" "$regtool_exe" import "$(win "$work/files/first.reg")"
  query | cmp -s - "$work/files/original.txt" || { echo "registry differs after regtool's import" >&2; exit 1; }
  delete_tree
  timed import_regedit "$TARNWELL_WINE" regedit /S "$(win "$work/files/first.reg")"
  query | cmp -s - "$work/files/original.txt" || { echo "registry differs after regedit's import" >&2; exit 1; }
done

printf '%-8s %14s %14s %8s\n' "" "regtool (ms)" "regedit (ms)" "ratio"
for what in export import; do
  # Word splitting makes each recorded time one argument.
  ours=$(median ${times[${what}_regtool]})
  theirs=$(median ${times[${what}_regedit]})
  printf '%-8s %14s %14s %8s\n' "$what" "$ours" "$theirs" "$(awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "%.2f", a / b}')"
done
echo "all runs: ${times[*]@K}" | tr -s ' '
echo "regtool's export was the same file in every run; both imports left the registry as the tree was"
