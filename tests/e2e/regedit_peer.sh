#!/usr/bin/env bash
# REGEDIT4 export and import beside Wine's own regedit, on the Wine registry:
#  1. random trees (names and texts without backslash and double quote, which regedit
#     reads as escapes) exported by regtool, then imported once by `regedit /S` and once
#     by regtool, give the same registry content, and that content is the tree's;
#  2. hand-written REGEDIT4 files in each form the importer reads are applied as
#     documented, checked with Wine's own `reg query`.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"

REGTOOL="$E2E_BUILD/tools/regtool/regtool.exe"
e2e_require_built "$REGTOOL"

e2e_new_prefix regedit_peer
work="$E2E_BUILD/e2e/regedit_peer/work"
rm -rf "$work"
mkdir -p "$work"
# One server for the whole run, ended with it.
"$WINESERVER" -p 2>/dev/null || true  # (already running is fine)
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

TOP='HKEY_CURRENT_USER\Software\tarnwell-peer'
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

regtool() { "$TARNWELL_WINE" "$REGTOOL" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }
regedit_import() { "$TARNWELL_WINE" regedit /S "$(e2e_windows_path "$1")" >/dev/null 2>&1; }
query() { "$TARNWELL_WINE" reg query "$1" "${@:2}" 2>/dev/null | tr -d '\r'; }
key_exists() { "$TARNWELL_WINE" reg query "$1" >/dev/null 2>&1; }
delete_key() { "$TARNWELL_WINE" reg delete "$1" /f >/dev/null 2>&1 || true; }
win() { e2e_windows_path "$1"; }

# --- 1. Random trees through both importers -----------------------------------------
for seed in 1 2 3 4; do
  key="$TOP\\tree $seed"
  perl "$here/reg_tree.pl" random "$seed" "$key" >"$work/source-$seed.reg"
  regedit_import "$work/source-$seed.reg"
  query "$key" /s >"$work/original-$seed.txt"
  [ -s "$work/original-$seed.txt" ] || { fail "seed $seed: regedit did not make the tree"; continue; }
  rm -f "$work/ours-$seed.reg"
  regtool export "$key" "$(win "$work/ours-$seed.reg")" || fail "seed $seed: export failed"
  delete_key "$key"
  regedit_import "$work/ours-$seed.reg"
  query "$key" /s >"$work/by-regedit-$seed.txt"
  delete_key "$key"
  regtool import "$(win "$work/ours-$seed.reg")" || fail "seed $seed: import failed"
  query "$key" /s >"$work/by-regtool-$seed.txt"
  delete_key "$key"
  diff "$work/original-$seed.txt" "$work/by-regedit-$seed.txt" >/dev/null \
    || fail "seed $seed: regedit's import of our export differs from the tree ($work)"
  diff "$work/by-regedit-$seed.txt" "$work/by-regtool-$seed.txt" >/dev/null \
    || fail "seed $seed: our import differs from regedit's import of the same file ($work)"
done

# --- 2. Hand-written files ----------------------------------------------------------
F="$TOP\\forms"
export F
# form NAME: the REGEDIT4 text on standard input ("%F" for the forms key), given CR LF
# line ends; imported with regtool; prints regtool's exit code.
form() {
  perl -pe 's/%F/$ENV{F}/g; s/\n/\r\n/' >"$work/$1.reg"
  local code=0
  regtool import "$(win "$work/$1.reg")" >/dev/null || code=$?
  echo "$code"
}
# has KEY LINE: reg query shows that value line ("    name    TYPE    data").
has() {
  local out
  out=$(query "$1")
  grep -Fxq -- "$2" <<<"$out" || fail "$1: no line '$2'"
}
lacks() {
  local out
  out=$(query "$1")
  if grep -Fq -- "$2" <<<"$out"; then fail "$1: unexpected '$2'"; fi
}

[ "$(form roots <<'REG'
REGEDIT4

[HKCU\Software\tarnwell-peer\forms\abbreviated]
"v"="1"
[\HKEY_CURRENT_USER\Software\tarnwell-peer\forms\backslash]
"v"="2"
[hkey_current_user\Software\tarnwell-peer\forms\lower]
"v"="3"
REG
)" = 0 ] || fail "roots: import failed"
has "$F\\abbreviated" "    v    REG_SZ    1"
has "$F\\backslash" "    v    REG_SZ    2"
has "$F\\lower" "    v    REG_SZ    3"

[ "$(form values <<'REG'
REGEDIT4

[%F\values]
@="def"
"t"="C:\Bin"
"b"=hex:01,0a,FF
"d"=dword:000000ff
"m"=dword:FFFFFFFF
"h2"=HEX:0a
"d2"=DWord:1f
"a"="x=y"
"q"="say "hi""
"n"=x"y
  "s" = "x"  
"t2"=hex(2):41,00
"c"=hex:01,02,\
  03,04
;"comment"="x"
REG
)" = 0 ] || fail "values: import failed"
has "$F\\values" "    (Default)    REG_SZ    def"
has "$F\\values" "    t    REG_SZ    C:\\Bin"
has "$F\\values" "    b    REG_BINARY    010AFF"
has "$F\\values" "    d    REG_DWORD    0xff"
has "$F\\values" "    m    REG_DWORD    0xffffffff"
has "$F\\values" "    h2    REG_BINARY    0A"
has "$F\\values" "    d2    REG_DWORD    0x1f"
has "$F\\values" "    a    REG_SZ    x=y"
has "$F\\values" "    q    REG_SZ    say \"hi\""
has "$F\\values" "    n    REG_SZ    xy"
has "$F\\values" "    s     REG_SZ     x"
has "$F\\values" "    t2    REG_SZ    hex(2):41,00"
has "$F\\values" "    c    REG_BINARY    010200"
lacks "$F\\values" "comment"
lacks "$F\\values" "03,04"

[ "$(form at <<'REG'
REGEDIT4

[%F\at]
@=hex:01
@=dword:2
REG
)" = 0 ] || fail "at: import failed"
has "$F\\at" "    @    REG_DWORD    0x2"
lacks "$F\\at" "(Default)"

"$TARNWELL_WINE" reg add "$F\\del" /ve /d default /f >/dev/null 2>&1
"$TARNWELL_WINE" reg add "$F\\del" /v gone /d 1 /f >/dev/null 2>&1
"$TARNWELL_WINE" reg add "$F\\del" /v kept /d 2 /f >/dev/null 2>&1
"$TARNWELL_WINE" reg add "$F\\del\\leaf" /v v /d 1 /f >/dev/null 2>&1
"$TARNWELL_WINE" reg add "$F\\del\\parent\\child" /v v /d 1 /f >/dev/null 2>&1
[ "$(form deletions <<'REG'
REGEDIT4

[%F\del]
"gone"=-
@=""
[-%F\del\leaf]
[-%F\del\parent]
[%F\empty]
REG
)" = 3 ] || fail "deletions: a key with subkeys that was not deleted went unreported"
has "$F\\del" "    kept    REG_SZ    2"
lacks "$F\\del" "gone"
lacks "$F\\del" "(Default)"
key_exists "$F\\del\\leaf" && fail "[-key] did not remove a key without subkeys"
key_exists "$F\\del\\parent\\child" || fail "[-key] removed a key with subkeys"
key_exists "$F\\empty" && fail "a key line without values made a key"

[ "$(printf 'regedit4\r\n[%s\\lower-header]\r\n"v"="1"\r\n' "$F" >"$work/h1.reg"; \
     regtool import "$(win "$work/h1.reg")" >/dev/null; echo $?)" = 0 ] \
  || fail "lower-case header refused"
has "$F\\lower-header" "    v    REG_SZ    1"
for header in 'REGEDIT4 ' 'Windows Registry Editor Version 5.00'; do
  printf '%s\r\n[%s\\refused]\r\n"v"="1"\r\n' "$header" "$F" >"$work/h2.reg"
  [ "$(regtool import "$(win "$work/h2.reg")" >/dev/null; echo $?)" = 1 ] \
    || fail "header '$header' accepted"
  key_exists "$F\\refused" && fail "header '$header' changed the registry"
done

[ "$(form error <<'REG'
REGEDIT4

[%F\error]
"before"="1"
"d"=dword:100000000
"after"="2"
REG
)" = 1 ] || fail "error: a number too large did not fail the import"
has "$F\\error" "    before    REG_SZ    1"
lacks "$F\\error" "after"

delete_key "$TOP"
if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed; files in $work" >&2
  exit 1
fi
echo "regedit peer: 4 random trees agree with regedit; every hand-written form applied as documented"
