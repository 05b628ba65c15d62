#!/usr/bin/env bash
# REGEDIT4 files beside Wine's own regedit, on the Wine registry, trees compared by each
# value's type and exact stored bytes (reg_dump), never through reg query's text. For a
# fixed tree (backslashes, trailing backslashes, UNC paths and double quotes in names and
# texts, every value type, an empty key, an expandable default value) and for random
# trees, written in regedit's own form (escapes, hex(N), continued lines) and made by
# `regedit /S`, three paths give back the same tree:
#  1. regtool export, then `regedit /S` of that file;
#  2. regtool import of the regedit-form file;
#  3. regtool export, then regtool import (exit 0 both).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"

REGTOOL="$E2E_BUILD/tools/regtool/regtool.exe"
DUMP="$E2E_BUILD/tests/e2e/reg_dump/reg_dump.exe"
e2e_require_built "$REGTOOL" "$DUMP"

e2e_new_prefix regedit_peer
work="$E2E_BUILD/e2e/regedit_peer/work"
rm -rf "$work"
mkdir -p "$work"
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

TOP='Software\tarnwell-peer'
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
win() { e2e_windows_path "$1"; }

regtool() { "$TARNWELL_WINE" "$REGTOOL" "$@" >>"$work/regtool.log" 2>&1; }
regedit_import() { "$TARNWELL_WINE" regedit /S "$(win "$1")" >/dev/null 2>&1; }
dump() { "$TARNWELL_WINE" "$DUMP" "$1" 2>/dev/null | tr -d '\r' >"$2"; }
delete_key() { "$TARNWELL_WINE" reg delete "HKCU\\$1" /f >/dev/null 2>&1 || true; }

# same NAME KEY FILE: the tree at KEY now is the reference tree of NAME.
same() {
  dump "$2" "$work/$1-$3.txt"
  diff "$work/$1-reference.txt" "$work/$1-$3.txt" >"$work/$1-$3.diff" \
    || fail "$1: $3 gives another tree than regedit's own ($work/$1-$3.diff)"
}

# peer NAME KEY MODE...: the checks on one tree, written by reg_tree.pl MODE.
peer() {
  local name="$1" key="$2"
  shift 2
  perl "$here/reg_tree.pl" "$@" "HKEY_CURRENT_USER\\$key" >"$work/$name-regedit.reg"
  delete_key "$key"
  regedit_import "$work/$name-regedit.reg"
  dump "$key" "$work/$name-reference.txt" || { fail "$name: regedit did not make the tree"; return; }

  delete_key "$key"
  regtool import "$(win "$work/$name-regedit.reg")" || fail "$name: import of regedit's file: exit $?"
  same "$name" "$key" "regtool-import"

  rm -f "$work/$name-ours.reg"
  regtool export "HKCU\\$key" "$(win "$work/$name-ours.reg")" || fail "$name: export: exit $?"
  delete_key "$key"
  regedit_import "$work/$name-ours.reg"
  same "$name" "$key" "regedit-import-of-ours"

  delete_key "$key"
  regtool import "$(win "$work/$name-ours.reg")" || fail "$name: import of our export: exit $?"
  same "$name" "$key" "round-trip"
  delete_key "$key"
}

peer fixed "$TOP\\fixed" peer
# The fixed tree is what its file says, byte for byte: UTF-16 texts with their NUL.
utf16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -d ' \n' | tr a-f A-F; }
for line in "Path|1|$(utf16 'C:\Bin\Tarnwell')0000" "Data|1|$(utf16 'C:\Data\')0000" \
            "Share|1|$(utf16 '\\server\models\survey 1')0000" "C:\\x5CModels|1|$(utf16 'a name with backslashes')0000" \
            "say \"hi\"|1|$(utf16 'a name with quotes')0000" "wide|11|0102030405060780" \
            "none|0|" "two|4|0102" "eight|4|0100000000000000" "number|4|FEFFFFFF" \
            "|2|$(utf16 '%SystemRoot%\System32')0000" "[empty]" "[empty default]" "|1|0000" \
            "\x5C\x5Cserver\x5Cshare|1|$(utf16 'a UNC path as a name')0000" \
            "$(printf 'caf\xc3\xa9')|1|$(utf16 "$(printf '\xe2\x82\xac 5, na\xc3\xafve')")0000" \
            "lines|1|$(utf16 "$(printf 'first\r\nsecond')")0000" "nul inside|1|6100000062000000"; do
  grep -qxF -- "$line" "$work/fixed-reference.txt" || fail "fixed: regedit's tree lacks '$line'"
done
for seed in 1 2 3 4 5 6; do
  peer "random-$seed" "$TOP\\random $seed" random "$seed"
done

# A name or text that no escaped string reads as stays as files of earlier versions
# wrote it.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\%s\\earlier]\r\n"Path"="C:\\Bin\\Tarnwell"\r\n"Data"="C:\\Data\\"\r\n"Share"="\\\\server\\models"\r\n' \
  "$TOP" >"$work/earlier.reg"
regtool import "$(win "$work/earlier.reg")" || fail "earlier: import: exit $?"
dump "$TOP\\earlier" "$work/earlier.txt"
for line in "Path|1|$(utf16 'C:\Bin\Tarnwell')0000" "Data|1|$(utf16 'C:\Data\')0000" \
            "Share|1|$(utf16 '\\server\models')0000"; do
  grep -qxF -- "$line" "$work/earlier.txt" || fail "earlier: the tree lacks '$line'"
done

delete_key "$TOP"
if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed; files in $work" >&2
  exit 1
fi
echo "regedit peer: the fixed tree and 6 random trees are the same through regedit, regtool and both"
