#!/usr/bin/env bash
# regtool as a script sees it, under Wine on a real registry: its help, its exit codes
# and the one-line reasons on standard error; files it must not write, not even in part
# when the disk fills up; every value type exported; version 5 files read whole;
# arguments that an ANSI command line would turn into look-alikes;
# keys deeper than a registry path text, exported and imported whole; registry links
# named and not followed; the roots reg.exe names; files in folders past MAX_PATH;
# lines ended as regedit ends them, and lines that are no key, value or comment named;
# the 32-bit and the 64-bit view of HKLM\SOFTWARE, exported and imported.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"

REGTOOL="$E2E_BUILD/tools/regtool/regtool.exe"
DUMP="$E2E_BUILD/tests/e2e/reg_dump/reg_dump.exe"
e2e_require_built "$REGTOOL" "$DUMP" "$E2E_PROBE"

e2e_new_prefix regtool_scripts
work="$E2E_BUILD/e2e/regtool_scripts/work"
rm -rf "$work"
mkdir -p "$work"
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

TOP='HKEY_CURRENT_USER\Software\tarnwell-regtool'
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
win() { e2e_windows_path "$1"; }

# run NAME ARGS...: regtool's standard output and error into NAME.out and NAME.err,
# its exit code into $code.
run() {
  local name="$1"; shift
  code=0
  "$TARNWELL_WINE" "$REGTOOL" "$@" >"$work/$name.out" 2>"$work/$name.err" || code=$?
  tr -d '\r' <"$work/$name.out" >"$work/$name.o" && mv "$work/$name.o" "$work/$name.out"
  tr -d '\r' <"$work/$name.err" >"$work/$name.e" && mv "$work/$name.e" "$work/$name.err"
}
# expect NAME CODE [TEXT]: the exit code, and TEXT somewhere in standard error.
expect() {
  [ "$code" = "$2" ] || fail "$1: exit code $code, wanted $2 ($(head -c 300 "$work/$1.err"))"
  if [ $# -ge 3 ] && ! grep -Fq -- "$3" "$work/$1.err"; then
    fail "$1: standard error lacks '$3': $(head -c 300 "$work/$1.err")"
  fi
}
# reg_file NAME: a REGEDIT4 file from standard input, CR LF line ends unless told LF.
reg_file() { perl -pe 's/\n/\r\n/' >"$work/$1.reg"; }

# --- Help and usage -------------------------------------------------------------------
for help in --help /?; do
  run help "$help"
  expect help 0
  grep -q '^exit codes:' "$work/help.out" || fail "$help: no usage on standard output"
  [ -s "$work/help.err" ] && fail "$help: wrote to standard error"
done
run nothing
expect nothing 2 "no command given"
run bad frobnicate
expect bad 2 'cannot read the command at "frobnicate"'
grep -q '^usage:' "$work/bad.err" || fail "usage error without the usage"

# --- Export ---------------------------------------------------------------------------
run missing export "$TOP\\absent" "$(win "$work/absent.reg")"
expect missing 1 "the key $TOP\\absent cannot be opened"
[ -e "$work/absent.reg" ] && fail "export of a missing key wrote a file"

"$TARNWELL_WINE" reg add "$TOP\\kinds" /v text /d plain /f >/dev/null 2>&1
"$TARNWELL_WINE" reg add "$TOP\\kinds" /v path /t REG_EXPAND_SZ /d '%SystemRoot%' /f >/dev/null 2>&1
"$TARNWELL_WINE" reg add "$TOP\\kinds" /v list /t REG_MULTI_SZ /d 'a\0b' /f >/dev/null 2>&1
run kinds export "$TOP\\kinds" "$(win "$work/kinds.reg")"
expect kinds 0
for line in '"text"="plain"' '"path"=hex(2):25,53,79,73,74,65,6D,52,6F,6F,74,25,00' \
            '"list"=hex(7):61,00,62,00,00'; do
  grep -qxF "$line"$'\r' "$work/kinds.reg" || fail "kinds: the file lacks $line"
done

# A root stands whole: HKCUTools is no HKCU.
run unknown-root export 'HKCUTools\Software\tarnwell-regtool\kinds' "$(win "$work/unknown-root.reg")"
expect unknown-root 1 'unknown root "HKCUTools"'
[ -e "$work/unknown-root.reg" ] && fail "export under an unknown root wrote a file"

printf 'precious' >"$work/taken.reg"
run taken export "$TOP\\kinds" "$(win "$work/taken.reg")"
expect taken 1 "already exists"
[ "$(cat "$work/taken.reg")" = precious ] || fail "an existing file was changed"

# The roots as reg.exe names them, HKU among them; the file has the long names.
"$TARNWELL_WINE" reg add 'HKU\.Default\Software\tarnwell-regtool' /v v /d users /f >/dev/null 2>&1
"$TARNWELL_WINE" reg add 'HKCR\tarnwell-regtool' /v v /d classes /f >/dev/null 2>&1
"$TARNWELL_WINE" reg add 'HKCC\Software\tarnwell-regtool' /v v /d config /f >/dev/null 2>&1
for root in 'HKU\.Default\Software|HKEY_USERS\.Default\Software' \
            'hku\.Default\Software|HKEY_USERS\.Default\Software' \
            'HKCR|HKEY_CLASSES_ROOT' 'HKCC\Software|HKEY_CURRENT_CONFIG\Software'; do
  given="${root%%|*}" long="${root#*|}" name="root-$(printf '%s' "${root%%|*}" | md5sum | cut -c1-8)"
  run "$name" export "$given\\tarnwell-regtool" "$(win "$work/$name.reg")"
  expect "$name" 0
  grep -qxF "[$long\\tarnwell-regtool]"$'\r' "$work/$name.reg" || fail "$given: the file lacks [$long\\tarnwell-regtool]"
done

# --- Registry links: two subkeys that lead back to their parent would make the walk
# visit 2^512 keys. Each is named and left out (exit 3); the sibling beside them is
# exported, and nothing but the file is left. The timeout only stops a runaway walk.
LINKS='Software\tarnwell-links'
"$TARNWELL_WINE" reg add "HKCU\\$LINKS\\sibling" /v v /d beside /f >/dev/null 2>&1
for link in loop1 loop2; do
  "$TARNWELL_WINE" "$E2E_PROBE" reglink "$LINKS" "$link" || fail "e2e_probe could not make the link $link"
done
mkdir -p "$work/links"
code=0
timeout 300 "$TARNWELL_WINE" "$REGTOOL" export "HKCU\\$LINKS" "$(win "$work/links")\\links.reg" \
  >/dev/null 2>"$work/links.err" || code=$?
tr -d '\r' <"$work/links.err" >"$work/links.e" && mv "$work/links.e" "$work/links.err"
expect links 3
for link in loop1 loop2; do
  grep -qF "key HKEY_CURRENT_USER\\$LINKS\\$link: left out: a registry link" "$work/links.err" ||
    fail "links: $link is not named: $(head -c 300 "$work/links.err")"
done
grep -qxF '"v"="beside"'$'\r' "$work/links/links.reg" || fail "links: the sibling key was not exported"
grep -qF 'loop' "$work/links/links.reg" && fail "links: a link went into the file"
[ "$(ls -A "$work/links")" = links.reg ] || fail "links: left behind: $(ls -A "$work/links" | xargs)"

# --- Files in a folder whose path is longer than MAX_PATH, as they are and in the \\?\
# form: exported and imported.
deep_folder="$work/$(printf 'd%.0s' $(seq 100))/$(printf 'e%.0s' $(seq 100))/$(printf 'f%.0s' $(seq 60))"
mkdir -p "$deep_folder"
[ "${#deep_folder}" -gt 260 ] || fail "long paths: the folder path is only ${#deep_folder} characters"
run long-export export "$TOP\\kinds" "$(win "$deep_folder")\\kinds.reg"
expect long-export 0
[ "$(ls -A "$deep_folder")" = kinds.reg ] || fail "long paths: the export left: $(ls -A "$deep_folder" | xargs)"
for form in plain prefixed; do
  printf 'REGEDIT4\r\n\r\n[%s\\long]\r\n"%s"="1"\r\n' "$TOP" "$form" >"$deep_folder/$form.reg"
  file="$(win "$deep_folder")\\$form.reg"
  [ "$form" = prefixed ] && file="\\\\?\\$file"
  run "long-$form" import "$file"
  expect "long-$form" 0
  "$TARNWELL_WINE" reg query "$TOP\\long" /v "$form" >/dev/null 2>&1 || fail "long paths: the $form import changed nothing"
done

# --- A full disk: an export into a small tmpfs fails and leaves nothing there, neither
# the file nor the one it was written to on the way. The tmpfs lives in a mount
# namespace of its own, gone with it even when the test is killed; the programs there
# get a wineserver of their own, which sees the mount.
perl "$here/reg_tree.pl" bench "$TOP\\big" 4 >"$work/big-source.reg"
run big-import import "$(win "$work/big-source.reg")"
expect big-import 0
"$WINESERVER" -k >/dev/null 2>&1 || true
small="$work/small-disk"
mkdir -p "$small"
# shellcheck disable=SC2016
in_small_disk='mount -t tmpfs -o size=64k tmpfs "$1" || exit 99
  code=0; "$2" "$3" export "$4" "$5" 2>"$6" || code=$?
  "$WINESERVER" -k >/dev/null 2>&1; "$WINESERVER" -w
  echo "$code" >"$7"; ls -A "$1" >"$8"'
ran=0
for how in "unshare -m" "unshare -rm"; do
  if $how bash -c "$in_small_disk" _ "$small" "$TARNWELL_WINE" "$REGTOOL" "$TOP\\big" \
       "$(win "$small")\\big.reg" "$work/full.err" "$work/full.code" "$work/full.listing"; then
    ran=1
    break
  fi
done
if [ "$ran" = 1 ]; then
  [ "$(cat "$work/full.code")" = 1 ] || fail "full disk: exit code $(cat "$work/full.code"), wanted 1"
  grep -q "failed: .*big.reg: " "$work/full.err" || fail "full disk: no reason: $(cat "$work/full.err")"
  [ -s "$work/full.listing" ] && fail "full disk: left behind: $(xargs <"$work/full.listing")"
else
  fail "full disk: no mount namespace with a tmpfs could be made here"
fi

# --- Keys deeper than one registry path text: written by Wine's regedit, then exported,
# deleted and imported back by regtool, and exported again byte for byte.
perl -e '
  my $key = $ARGV[0];
  print "REGEDIT4\n\n";
  for my $level (0 .. 13) {
    $key .= "\\" . (chr(97 + $level) x 44) . ($level % 10);
    print "[$key]\n\"level\"=\"$level\"\n\n";
  }' "$TOP\\deep" | reg_file deep-source
"$TARNWELL_WINE" regedit /S "$(win "$work/deep-source.reg")" >/dev/null 2>&1
run deep1 export "$TOP\\deep" "$(win "$work/deep1.reg")"
expect deep1 0
[ "$(grep -c '^"level"=' "$work/deep1.reg")" = 14 ] || fail "deep: not every level was exported"
"$TARNWELL_WINE" reg delete "$TOP\\deep" /f >/dev/null 2>&1
run deep-import import "$(win "$work/deep1.reg")"
expect deep-import 0
run deep2 export "$TOP\\deep" "$(win "$work/deep2.reg")"
expect deep2 0
cmp -s "$work/deep1.reg" "$work/deep2.reg" || fail "deep: the tree did not come back identical"

# --- Registry views: HKLM\SOFTWARE differs between the 32-bit and the 64-bit view. Each
# switch exports its view, in any letter case and position; without one regtool exports
# its own. An import writes the view chosen, whichever view the file came from.
VIEWS='HKEY_LOCAL_MACHINE\SOFTWARE\tarnwell-regtool-views'
for view in 32 64; do
  "$TARNWELL_WINE" reg add "$VIEWS" /v seen /d "in$view" /reg:$view /f >/dev/null 2>&1
done
run views32 export "$VIEWS" "$(win "$work/views32.reg")" /reg:32
expect views32 0
run views64 /REG:64 export "$VIEWS" "$(win "$work/views64.reg")"
expect views64 0
own=32
[ "$TARNWELL_WINE_ARCH" = win64 ] && own=64
run views-own export "$VIEWS" "$(win "$work/views-own.reg")"
expect views-own 0
for view in 32 64; do
  grep -qxF "\"seen\"=\"in$view\""$'\r' "$work/views$view.reg" || fail "views: /reg:$view did not export its view"
done
cmp -s "$work/views-own.reg" "$work/views$own.reg" || fail "views: without a switch, not the $own-bit view"
run views-both export "$VIEWS" "$(win "$work/views-both.reg")" /reg:32 /reg:64
expect views-both 2 "/reg:32 and /reg:64 cannot both be given"
[ -e "$work/views-both.reg" ] && fail "views: two views on one command line wrote a file"
for view in 32 64; do
  "$TARNWELL_WINE" reg delete "$VIEWS" /reg:$view /f >/dev/null 2>&1
done
run views-import32 import "$(win "$work/views64.reg")" /reg:32
expect views-import32 0
run views-import64 import "$(win "$work/views32.reg")" /Reg:64
expect views-import64 0
for view in 32 64; do
  run "views-again$view" export "$VIEWS" "$(win "$work/views-again$view.reg")" /reg:$view
  expect "views-again$view" 0
  "$TARNWELL_WINE" reg delete "$VIEWS" /reg:$view /f >/dev/null 2>&1
done
cmp -s "$work/views-again32.reg" "$work/views64.reg" && cmp -s "$work/views-again64.reg" "$work/views32.reg" \
  || fail "views: an import did not write the view chosen"

# --- Import ---------------------------------------------------------------------------
run absent-file import "$(win "$work/no-such.reg")"
expect absent-file 1 "file not found"
printf 'Windows Registry Editor Version 5.00\r\n' >"$work/v5.reg"
run v5 import "$(win "$work/v5.reg")"
expect v5 1 "not a REGEDIT4 file"
# The platform's own export: UTF-16 behind a byte-order mark, every character kept.
printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s\\unicode]\r\n"t"="caf\xc3\xa9"\r\n"e"=hex(2):25,00,50,00,00,00\r\n"z"="\xd0\x96"\r\n' \
  "$TOP" | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$work/unicode.reg"
run unicode import "$(win "$work/unicode.reg")"
expect unicode 0
"$TARNWELL_WINE" "$DUMP" 'Software\tarnwell-regtool\unicode' 2>/dev/null | tr -d '\r' >"$work/unicode.txt"
for line in "t|1|630061006600E9000000" "e|2|250050000000" "z|1|16040000"; do
  grep -qxF "$line" "$work/unicode.txt" || fail "unicode: the registry lacks $line"
done
# Arguments arrive as typed: a fullwidth quotation mark, a yen sign and a division
# slash in a file name are neither '"', '\' nor '/'.
odd_name="$(printf 'odd \xef\xbc\x82 \xc2\xa5 \xe2\x88\x95.reg')"
# Wine reads the Unix arguments in the locale's character set.
LC_ALL=C.UTF-8 run odd-name export "$TOP\\unicode" "$(win "$work")\\$odd_name" --unicode
expect odd-name 0
[ -f "$work/$odd_name" ] || fail "odd-name: no file under the name given: $(ls "$work" | grep odd)"
# Lines end at CR LF, LF and CR alike, as regedit ends them (regedit_peer.sh compares
# the trees): files of LF or CR line ends are read whole.
printf 'REGEDIT4\n\n[%s\\lf]\n"v"="1"\n' "$TOP" >"$work/lf.reg"
run lf import "$(win "$work/lf.reg")"
expect lf 0
printf 'REGEDIT4\r[%s\\lf]\r"w"="2"\r' "$TOP" >"$work/cr.reg"
run cr import "$(win "$work/cr.reg")"
expect cr 0
for value in v w; do
  "$TARNWELL_WINE" reg query "$TOP\\lf" /v "$value" >/dev/null 2>&1 || fail "lf, cr: $value was not imported"
done
# A line that is no key, value or comment line is named with its line, never applied.
printf 'REGEDIT4\r\n"early"="0"\r\n[%s\\junk]\r\n"x" "y"\r\njunk\r\n"kept"="1"\r\n' "$TOP" >"$work/junk.reg"
run junk import "$(win "$work/junk.reg")"
expect junk 3 'line 2: "early"="0": a value line before any key line: not applied'
expect junk 3 'line 4: "x" "y": neither a key, a value nor a comment: passed over'
expect junk 3 'line 5: junk: neither a key, a value nor a comment: passed over'
"$TARNWELL_WINE" reg query "$TOP\\junk" /v kept >/dev/null 2>&1 || fail "junk: the import did not go on"
# A header followed by random bytes: named, never read as keys or values.
{ printf 'REGEDIT4\r\n'; perl -e 'srand(26); print map { chr(int(rand(256))) } 1 .. 262144'; } >"$work/random.reg"
run random import "$(win "$work/random.reg")"
expect random 3 "neither a key, a value nor a comment: passed over"
reg_file stopped <<REG
REGEDIT4

[$TOP\\stopped]
"before"="1"
"d"=dword:123456789
"after"="2"
REG
run stopped import "$(win "$work/stopped.reg")"
expect stopped 3 "line 5: $TOP\\stopped value \"d\": dword: a number too large for 32 bits: not applied"
"$TARNWELL_WINE" reg query "$TOP\\stopped" /v after >/dev/null 2>&1 || fail "stopped: the import did not go on"

"$TARNWELL_WINE" reg add "$TOP\\parent\\child" /v v /d 1 /f >/dev/null 2>&1
long_name=$(printf 'n%.0s' $(seq 300))
reg_file refused <<REG
REGEDIT4

[-$TOP\\parent]
[$TOP\\$long_name]
"v"="1"
[$TOP\\fine]
"v"="2"
[HKEY_CURRENT_USERX\\Software\\tarnwell-regtool\\loose]
"v"="3"
REG
run refused import "$(win "$work/refused.reg")"
expect refused 3 "line 3: $TOP\\parent: key not deleted"
expect refused 3 'line 8: HKEY_CURRENT_USERX\Software\tarnwell-regtool\loose: unknown root "HKEY_CURRENT_USERX"'
"$TARNWELL_WINE" reg query "$TOP\\loose" >/dev/null 2>&1 && fail "refused: a key line under an unknown root was applied"
expect refused 3 "line 5: $TOP\\$long_name value \"v\": not written"
"$TARNWELL_WINE" reg query "$TOP\\fine" /v v >/dev/null 2>&1 || fail "refused: the import did not go on"
"$TARNWELL_WINE" reg query "$TOP\\parent\\child" >/dev/null 2>&1 || fail "refused: a key with subkeys went"

"$TARNWELL_WINE" reg delete "$TOP" /f >/dev/null 2>&1 || true
if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed; files in $work" >&2
  exit 1
fi
echo "regtool scripts: help, exit codes, reasons, every value type, Unicode files, a full disk, deep keys, links, reg.exe's roots, long paths, line ends and registry views as documented"
