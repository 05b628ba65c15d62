#!/usr/bin/env bash
# Builds the release package: build/<arch>/tarnwell_env-<version>-<arch>.zip, and beside
# it the Windows Installer package of the same files, tarnwell_env-<version>.msi
# (tarnwell_env-<version>-win64.msi for win64), made by wixl from package/tarnwell_env.wxs.in.
#   scripts/package.sh [win32|win64]   (default win32, the product)
#
# win32 is the release: the 32-bit binaries at the zip's root and, in its x64 folder, the
# 64-bit regtool and registry component from the win64 build, for 64-bit hosts. win64 is
# the 64-bit build's own package, the same files all 64-bit and no x64 folder: it is not
# released, but Wine runs it as a user would where this machine cannot run 32-bit code.
#
# The same sources give the same zip, byte for byte, wherever and whenever they are
# packaged: the binaries carry no time or build folder, and every entry of the zip has
# the time SOURCE_DATE_EPOCH (default: the time of the last commit), fixed permissions
# and a fixed place in a sorted order.
#
# Signing, when TARNWELL_SIGN_PKCS12 names a PKCS#12 file (the certificate and its key):
# the binaries are signed (Authenticode, SHA-256) before SHA256SUMS.txt is written, with
# the password in the file TARNWELL_SIGN_PASSWORD_FILE names (none if unset) and a
# timestamp from TARNWELL_SIGN_TIMESTAMP_URL (RFC 3161) when it is set. Each binary's
# signature is also kept apart, in tarnwell_env-<version>-<arch>-signatures.zip beside
# the package, under the binary's own path (x64/regtool.exe.p7s): attached to the
# unsigned binaries of a rebuild, it gives the signed ones. The .msi, made of the signed
# binaries, is signed last.
#
# The .msi is the same from the same sources too: its package code is derived from the
# files it holds, its summary information carries the time SOURCE_DATE_EPOCH, and its
# cabinet the files' times, which are SOURCE_DATE_EPOCH too.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
arch="${1:-win32}"
fail() { echo "package.sh: $*" >&2; exit 1; }

epoch="${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct 2>/dev/null || true)}"
[[ "$epoch" =~ ^[0-9]+$ ]] || fail "no time for the zip's entries: set SOURCE_DATE_EPOCH (seconds since 1970) outside a git clone"
if [ -n "${TARNWELL_SIGN_PKCS12:-}" ]; then
  [ -r "$TARNWELL_SIGN_PKCS12" ] || fail "TARNWELL_SIGN_PKCS12: cannot read $TARNWELL_SIGN_PKCS12"
  [ -z "${TARNWELL_SIGN_PASSWORD_FILE:-}" ] || [ -r "$TARNWELL_SIGN_PASSWORD_FILE" ] \
    || fail "TARNWELL_SIGN_PASSWORD_FILE: cannot read $TARNWELL_SIGN_PASSWORD_FILE"
fi

"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" "$arch" release_binaries >/dev/null
[ "$arch" != win32 ] || "$top/scripts/build.sh" win64 release_x64_binaries >/dev/null
build="$top/build/$arch"
name=$(cat "$build/package_name.txt")

work="$build/package-work"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
stage="$work/$name"
# Strip writes a new PE header, with the time SOURCE_DATE_EPOCH names (else now): 0, as
# the linker left it.
SOURCE_DATE_EPOCH=0 cmake --install "$build" --component release --prefix "$stage" --strip >/dev/null
if [ "$arch" = win32 ]; then
  SOURCE_DATE_EPOCH=0 cmake --install "$top/build/win64" --component release_x64 \
    --prefix "$stage/x64" --strip >/dev/null
fi
# The files below the stage, as paths with forward slashes, in one sorted order.
staged() { (cd "$stage" && find . -type f "$@" | cut -c3- | LC_ALL=C sort); }
binaries=$(staged \( -name '*.exe' -o -name '*.dll' \))

# Writes a zip of the files named (paths below FOLDER, in this order) with fixed entry
# times and permissions, and no extra fields (owner, access times): zip_files ZIP FOLDER FILE...
zip_files() {
  local zip="$1" folder="$2"; shift 2
  (cd "$folder" && chmod 0644 "$@" && touch -h -d "@$epoch" "$@")
  rm -f "$zip"
  # Zip stores local time: the same clock everywhere.
  (cd "$folder" && printf '%s\n' "$@" | TZ=UTC zip -q -X -D -@ "$zip")
}

# sign FILE: signs FILE in place with the release certificate.
sign() {
  osslsigncode sign -pkcs12 "$TARNWELL_SIGN_PKCS12" "${password[@]}" -h sha256 \
    "${timestamp[@]}" -in "$1" -out "$work/signed" >"$work/sign.log" 2>&1 \
    || fail "signing $(basename "$1") failed: $(tail -n 3 "$work/sign.log")"
  mv "$work/signed" "$1"
}

if [ -n "${TARNWELL_SIGN_PKCS12:-}" ]; then
  password=()
  [ -z "${TARNWELL_SIGN_PASSWORD_FILE:-}" ] || password=(-readpass "$TARNWELL_SIGN_PASSWORD_FILE")
  timestamp=()
  [ -z "${TARNWELL_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$TARNWELL_SIGN_TIMESTAMP_URL")
  mkdir -p "$work/signatures"
  for binary in $binaries; do
    sign "$stage/$binary"
    mkdir -p "$(dirname "$work/signatures/$binary")"
    osslsigncode extract-signature -in "$stage/$binary" -out "$work/signatures/$binary.p7s" \
      >"$work/sign.log" 2>&1 || fail "taking the signature out of $binary failed: $(tail -n 3 "$work/sign.log")"
  done
fi

# Checksums of the files as shipped, signed or not: "checksum *name" lines (what
# sha256sum -c reads), CR LF ended.
files=$(staged ! -name SHA256SUMS.txt)
# shellcheck disable=SC2086
(cd "$stage" && sha256sum -b $files | sed 's/$/\r/' >SHA256SUMS.txt)

# shellcheck disable=SC2086
zip_files "$build/$name.zip" "$work" $(printf "$name/%s\n" $files SHA256SUMS.txt | LC_ALL=C sort)
if [ -n "${TARNWELL_SIGN_PKCS12:-}" ]; then
  # shellcheck disable=SC2046
  zip_files "$build/$name-signatures.zip" "$work/signatures" \
    $(cd "$work/signatures" && find . -type f | cut -c3- | LC_ALL=C sort)
else
  # An unsigned package has no signatures: none from an earlier signed run may stand beside it.
  rm -f "$build/$name-signatures.zip"
fi

# The Windows Installer package of the same files. wixl stamps its summary information
# with the clock's time and a random package code: the time is frozen at
# SOURCE_DATE_EPOCH, and the package code is then replaced by one made of the hash of the
# files the package holds and of its source, the same length in place.
msi="$build/${name%-win32}.msi"
defines=()
while IFS= read -r define; do defines+=(-D "$define"); done <"$build/package/msi.defines"
rm -f "$msi"
(cd "$stage" && TZ=UTC faketime -f "$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')" \
   wixl -a x64 "${defines[@]}" -D SourceDir=. -o "$msi" "$build/package/tarnwell_env.wxs") \
  >"$work/wixl.log" 2>&1 || fail "wixl failed: $(tail -n 5 "$work/wixl.log")"
hash=$(cat "$stage/SHA256SUMS.txt" "$build/package/tarnwell_env.wxs" "$build/package/msi.defines" \
         | sha256sum | tr a-f A-F)
package_code="{${hash:0:8}-${hash:8:4}-${hash:12:4}-${hash:16:4}-${hash:20:12}}"
package_code_of() { msiinfo suminfo "$1" | sed -n 's/^Revision number (UUID): //p'; }
random_code=$(package_code_of "$msi")
OLD="$random_code" NEW="$package_code" perl -0777 -pi -e \
  '$n = s/\Q$ENV{OLD}\E/$ENV{NEW}/g; die "the package code is there $n times\n" if $n != 1' "$msi"
[ "$(package_code_of "$msi")" = "$package_code" ] \
  || fail "the package code of $msi cannot be set"
[ -z "${TARNWELL_SIGN_PKCS12:-}" ] || sign "$msi"
echo "$msi"
echo "$build/$name.zip"
