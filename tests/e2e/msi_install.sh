#!/usr/bin/env bash
# The Windows Installer package as an administrator deploys it, built for the
# architecture these tests run, in a fresh prefix:
#  1. msiexec /i /qn puts the files in Program Files (the 64-bit regtool and component in
#     the 64-bit one, for the 32-bit release), the Start menu shortcut and the uninstall
#     entry with the product's name, version and publisher; the program there gives its
#     version, and a VBScript creates the component by its ProgID and reads a value
#     through it;
#  2. installing the same package again changes nothing;
#     the component's registration is the one regsvr32 writes for the same file;
#  3. a package of a lower version, made from the same source with the same UpgradeCode,
#     is replaced in place by this one: one uninstall entry remains, with this version;
#  4. msiexec /x /qn leaves HKLM, HKCU and drive_c as they were before the install, but
#     for what Wine itself writes at any run (see settled_state).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"

# package.sh names the .msi, then the zip, on its last two lines.
packaged=$("$here/../../scripts/package.sh" "$TARNWELL_WINE_ARCH" | tail -n2)
msi=$(head -n1 <<<"$packaged")
zip=$(tail -n1 <<<"$packaged")
version=$(sed -n 's/^Version=//p' "$E2E_BUILD/package/msi.defines")
product_code=$(sed -n 's/^ProductCode=//p' "$E2E_BUILD/package/msi.defines")
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
PROGID='TarnwellRegistry.clsRegistryAccess'
main='C:\Program Files\Tarnwell\tarnwell_env'
x64_files=()
if [ "$TARNWELL_WINE_ARCH" = win32 ]; then
  main='C:\Program Files (x86)\Tarnwell\tarnwell_env'
  x64_files=('C:\Program Files\Tarnwell\tarnwell_env\regtool.exe'
             'C:\Program Files\Tarnwell\tarnwell_env\TarnwellRegistry.dll')
fi

e2e_new_prefix msi_install
work="$E2E_BUILD/e2e/msi_install"
trap '"$WINESERVER" -k >/dev/null 2>&1 || true; rm -rf "$work/older"' EXIT

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
wine_out() { "$TARNWELL_WINE" "$@" 2>/dev/null | tr -d '\r'; }
msiexec() { "$TARNWELL_WINE" msiexec "$@" >/dev/null 2>&1 || fail "msiexec $*: exit $?"; }
# The values of the uninstall entries of the package's product name, as reg query shows
# them (the other entries of the prefix are left out).
entries() {
  wine_out reg query "$UNINSTALL" /s /reg:64 \
    | awk -v RS= '/DisplayName +REG_SZ +tarnwell_env\n/' | sed '/^$/d'
}
# HKLM and HKCU as regedit exports them, and the files below drive_c, less what Wine
# itself writes at any run: the hardware and display keys it fills when a program starts,
# HKCU\Software\Wine, its temporary and log files, and the empty container keys and
# cache folder (windows\Installer) that Windows Installer creates at its first install
# and keeps. A product's own keys there are named by its packed (32-digit) code, and are
# seen even when empty.
settled_state() {
  local root file
  for root in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER; do
    file="$work/export.reg"
    rm -f "$file"
    "$TARNWELL_WINE" regedit /E "$(e2e_windows_path "$file")" "$root" >/dev/null 2>&1 \
      || fail "regedit /E $root"
    echo "== $root"
    iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' | awk -v RS= -v ORS='\n\n' '
      function of_a_product(key,   n, part, i) {
        n = split(substr(key, 2, length(key) - 2), part, "\\")
        for (i = 1; i <= n; i++) if (length(part[i]) == 32 && part[i] ~ /^[0-9A-F]+$/) return 1
        return 0
      }
      /^\[HKEY_LOCAL_MACHINE\\(Hardware|System\\CurrentControlSet\\Control\\(DeviceClasses|Video))/ { next }
      /^\[HKEY_CURRENT_USER\\Software\\Wine/ { next }
      /^\[HKEY_LOCAL_MACHINE\\Software\\(Classes|Microsoft\\Windows\\CurrentVersion)\\Installer[^\n]*\]$/ &&
        !of_a_product($0) { next }
      { print }'
  done
  echo "== drive_c"
  (cd "$E2E_DRIVE_C" && find . ! -ipath './windows/temp*' ! -ipath './users/*/temp*' \
     ! -ipath './windows/logs*' ! -path ./windows/Installer | LC_ALL=C sort)
}

# The first script run registers the script host's own type library: before the snapshot.
echo 'WScript.Quit 0' >"$work/warm-up.vbs"
"$TARNWELL_WINE" cscript //nologo "$(e2e_windows_path "$work/warm-up.vbs")" >/dev/null 2>&1 || true
settled_state >"$work/before.state"

# 1. The install.
msiexec /i "$(e2e_windows_path "$msi")" /qn
for file in tarnwell_env.exe QRX_Intel_Win32.dll regtool.exe TarnwellRegistry.dll README.txt \
            LICENSE.txt export_key.vbs collect_report.cmd report.schema.json; do
  [ -f "$(e2e_unix_path "$main\\$file")" ] || fail "$main\\$file is not installed"
done
for file in "${x64_files[@]}"; do
  [ -f "$(e2e_unix_path "$file")" ] || fail "$file is not installed"
done
# Windows puts a per-machine package's shortcut in the common Start menu; Wine in the
# installing user's.
shortcut=$(find "$E2E_DRIVE_C/ProgramData" "$E2E_DRIVE_C/users" -path '*/Start Menu/Programs/*' \
             -name tarnwell_env.lnk | head -n1)
if [ -z "$shortcut" ]; then
  fail "no Start menu shortcut tarnwell_env.lnk"
elif ! iconv -f UTF-16LE -t UTF-8 "$shortcut" 2>/dev/null | grep -aF 'tarnwell_env.exe' >/dev/null \
     && ! grep -aF 'tarnwell_env.exe' "$shortcut" >/dev/null; then
  fail "the shortcut does not lead to tarnwell_env.exe"
fi
shown=$(wine_out "$(e2e_unix_path "$main\\tarnwell_env.exe")" /version | head -n1)
[ "$shown" = "tarnwell_env $version" ] || fail "/version from Program Files: '$shown'"
cat >"$work/read.vbs" <<VBS
Set c = CreateObject("$PROGID")
WScript.Echo c.ReadString("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product_code", "DisplayVersion", "none")
VBS
read=$(wine_out cscript //nologo "$(e2e_windows_path "$work/read.vbs")")
[ "$read" = "$version" ] || fail "the component, created by its ProgID, read '$read'"
installed=$(entries)
for line in "DisplayName    REG_SZ    tarnwell_env" "DisplayVersion    REG_SZ    $version" \
            "Publisher    REG_SZ    The tarnwell_env authors"; do
  grep -F -- "$line" <<<"$installed" >/dev/null || fail "the uninstall entry has no '$line'"
done
grep -F -- "\\Uninstall\\$product_code" <<<"$installed" >/dev/null \
  || fail "no uninstall entry under the product code $product_code"

# 2. The same package again.
settled_state >"$work/installed.state"
msiexec /i "$(e2e_windows_path "$msi")" /qn
settled_state >"$work/again.state"
# Windows Installer counts the uses of the product's source: its SourceList changes.
without_source_list() { awk -v RS= -v ORS='\n\n' '!/^\[[^\n]*\\SourceList(\\Net)?\]/' "$1"; }
diff <(without_source_list "$work/installed.state") <(without_source_list "$work/again.state") \
  >"$work/again.diff" \
  || fail "installing the same package again changed: $work/again.diff"

# 2b. The package registers the component as regsvr32 does: the keys and values of the
# installed DLL's registration in this architecture's view are the same after regsvr32
# /u and regsvr32 of the same file (the type library's HELPDIR but for the \ that ends
# Windows Installer's folder names).
registration() {
  local key
  for key in $(grep -o 'Software\\Classes\\[A-Za-z]*\\{[0-9A-F-]*}' "$E2E_BUILD/package/tarnwell_env.wxs" \
                 | sort -u) "Software\\Classes\\$PROGID"; do
    wine_out reg query "HKLM\\$key" /s
  done | awk '/^HKEY/ { key = $0; next } NF { sub(/\\$/, ""); print key ":" $0 }' | LC_ALL=C sort
}
registration >"$work/msi.registration"
dll="$main\\TarnwellRegistry.dll"
"$TARNWELL_WINE" regsvr32 /u /s "$dll" && "$TARNWELL_WINE" regsvr32 /s "$dll" \
  || fail "regsvr32 /u and regsvr32 of the installed component failed"
registration >"$work/regsvr32.registration"
[ -s "$work/msi.registration" ] || fail "the package registered no component"
diff "$work/msi.registration" "$work/regsvr32.registration" >"$work/registration.diff" \
  || fail "the package's registration is not regsvr32's: $work/registration.diff"

# 3. An older version first, then this one over it.
msiexec /x "$(e2e_windows_path "$msi")" /qn
mkdir -p "$work/older"
unzip -q "$zip" -d "$work/older"
(cd "$work/older"/tarnwell_env-* && wixl -a x64 -D Version=0.9.0 \
   -D 'ProductCode={0B6E0AA5-6F62-4C5E-9E0C-3C1F2D7A9E01}' -D SourceDir=. \
   -o "$work/older/older.msi" "$E2E_BUILD/package/tarnwell_env.wxs") >/dev/null 2>&1 \
  || fail "wixl could not build the older package"
msiexec /i "$(e2e_windows_path "$work/older/older.msi")" /qn
grep -F "DisplayVersion    REG_SZ    0.9.0" <<<"$(entries)" >/dev/null \
  || fail "the older package did not install"
msiexec /i "$(e2e_windows_path "$msi")" /qn
upgraded=$(entries)
[ "$(grep -c '^HKEY' <<<"$upgraded")" = 1 ] || fail "after the upgrade, entries: $upgraded"
grep -F "DisplayVersion    REG_SZ    $version" <<<"$upgraded" >/dev/null \
  || fail "after the upgrade, the entry is not this version's: $upgraded"

# 4. The uninstall.
msiexec /x "$(e2e_windows_path "$msi")" /qn
settled_state >"$work/after.state"
diff "$work/before.state" "$work/after.state" >"$work/uninstall.diff" \
  || fail "the uninstall left changes: $work/uninstall.diff"

[ "$failures" = 0 ] || exit 1
echo "msi_install: ok"
