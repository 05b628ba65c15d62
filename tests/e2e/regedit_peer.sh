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
# A tree of names and texts outside every ANSI code page, beside their look-alikes, is
# written in regedit's default form (version 5.00, UTF-16) and goes the same three paths
# with `regtool export --unicode`, and a fourth: `regedit /E`, then regtool import. Its
# REGEDIT4 export names what the code page cannot hold, exits 3 and writes no look-alike.
# A file whose lines end in CR LF, bare LF and lone CR gives the tree regedit makes of it.
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

# peer NAME KEY MODE...: the checks on one tree, written by reg_tree.pl MODE; for the
# mode unicode in version 5.00 form, and exported with --unicode.
peer() {
  local name="$1" key="$2" form=()
  shift 2
  if [ "$1" = unicode ]; then
    form=(--unicode)
    { printf '\xff\xfe'; perl "$here/reg_tree.pl" "$@" "HKEY_CURRENT_USER\\$key" |
        iconv -f UTF-8 -t UTF-16LE; } >"$work/$name-regedit.reg"
  else
    perl "$here/reg_tree.pl" "$@" "HKEY_CURRENT_USER\\$key" >"$work/$name-regedit.reg"
  fi
  delete_key "$key"
  regedit_import "$work/$name-regedit.reg"
  dump "$key" "$work/$name-reference.txt" || { fail "$name: regedit did not make the tree"; return; }

  delete_key "$key"
  regtool import "$(win "$work/$name-regedit.reg")" || fail "$name: import of regedit's file: exit $?"
  same "$name" "$key" "regtool-import"

  rm -f "$work/$name-ours.reg"
  regtool export "HKCU\\$key" "$(win "$work/$name-ours.reg")" "${form[@]}" ||
    fail "$name: export: exit $?"
  delete_key "$key"
  regedit_import "$work/$name-ours.reg"
  same "$name" "$key" "regedit-import-of-ours"

  delete_key "$key"
  regtool import "$(win "$work/$name-ours.reg")" || fail "$name: import of our export: exit $?"
  same "$name" "$key" "round-trip"
  if [ ${#form[@]} -gt 0 ]; then
    rm -f "$work/$name-regedit-export.reg"
    "$TARNWELL_WINE" regedit /E "$(win "$work/$name-regedit-export.reg")" \
      "HKEY_CURRENT_USER\\$key" >/dev/null 2>&1 || fail "$name: regedit /E: exit $?"
    delete_key "$key"
    regtool import "$(win "$work/$name-regedit-export.reg")" ||
      fail "$name: import of regedit's export: exit $?"
    same "$name" "$key" "regtool-import-of-regedit-export"
  fi
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
peer unicode "$TOP\\unicode" unicode
dvorak="$(printf 'Dvo\xc5\x99\xc3\xa1k')"
for line in "$dvorak|1|$(utf16 secret)0000" "$(printf 'Dvor\xc3\xa1k')|1|$(utf16 other)0000" \
            "[$dvorak]" "[$(printf '\xe6\x95\xb0\xe6\x8d\xae')]"; do
  grep -qxF -- "$line" "$work/unicode-reference.txt" || fail "unicode: regedit's tree lacks '$line'"
done
# The same tree as REGEDIT4: what the code page cannot hold is named and left out.
perl "$here/reg_tree.pl" unicode "HKEY_CURRENT_USER\\$TOP\\unicode" | iconv -f UTF-8 -t UTF-16LE |
  { printf '\xff\xfe'; cat; } >"$work/unicode-again.reg"
regtool import "$(win "$work/unicode-again.reg")" || fail "unicode: import: exit $?"
rm -f "$work/unicode-ansi.reg"
set +e
"$TARNWELL_WINE" "$REGTOOL" export "HKCU\\$TOP\\unicode" "$(win "$work/unicode-ansi.reg")" \
  >/dev/null 2>"$work/unicode-ansi.err"
exported=$?
set -e
[ "$exported" = 3 ] || fail "unicode: a REGEDIT4 export exits $exported, not 3"
grep -qF "value \"$dvorak\": not exported: the ANSI code page cannot hold" "$work/unicode-ansi.err" ||
  fail "unicode: the REGEDIT4 export does not name $dvorak ($work/unicode-ansi.err)"
grep -qF "\\$dvorak: left out with its subkeys" "$work/unicode-ansi.err" ||
  fail "unicode: the REGEDIT4 export does not name the key $dvorak ($work/unicode-ansi.err)"
if grep -qaE 'Dvorak|\?' "$work/unicode-ansi.reg"; then
  fail "unicode: the REGEDIT4 export wrote a look-alike or a question mark"
fi
delete_key "$TOP\\unicode"

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

# Line ends as regedit reads them: in a CR LF file a bare LF and a lone CR end a line too.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\%s\\line ends]\r\n"a"="1"\n"b"="2"\n"c"="3"\r\n"d"="4"\r"e"="5"\r\n\n[HKEY_CURRENT_USER\\%s\\line ends\\lf]\n"f"=dword:00000006\r' \
  "$TOP" "$TOP" >"$work/line-ends.reg"
delete_key "$TOP\\line ends"
regedit_import "$work/line-ends.reg"
dump "$TOP\\line ends" "$work/line-ends-reference.txt"
for line in "a|1|$(utf16 1)0000" "e|1|$(utf16 5)0000" "[lf]" "f|4|06000000"; do
  grep -qxF -- "$line" "$work/line-ends-reference.txt" || fail "line ends: regedit's tree lacks '$line'"
done
delete_key "$TOP\\line ends"
regtool import "$(win "$work/line-ends.reg")" || fail "line ends: import: exit $?"
same line-ends "$TOP\\line ends" regtool-import

delete_key "$TOP"
if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed; files in $work" >&2
  exit 1
fi
echo "regedit peer: the fixed tree, the Unicode tree, 6 random trees and mixed line ends are the same through regedit, regtool and both"
