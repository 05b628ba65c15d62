#!/usr/bin/env bash
# Signing the release with a throwaway self-signed code-signing certificate: every
# binary of the signed zip (those of the release's x64 folder too) verifies against it,
# its checksums are those of the signed files, and the signatures kept beside the zip,
# attached to the binaries of the unsigned zip, give back the signed binaries byte for
# byte. The .msi beside the zip is signed too, verifies, and holds the signed binaries.
# A timestamp server that does not answer fails the packaging instead of leaving
# the timestamp out. The build's unsigned zip is put back at the end.
#   sign_release.sh [win32|win64]   (default win32, the product)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
arch="${1:-win32}"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

scratch="$top/build/signing-check"
rm -rf "$scratch"  # left behind by a run that was killed
mkdir -p "$scratch"
restore_unsigned() { "$top/scripts/package.sh" "$arch" >/dev/null || true; rm -rf "$scratch"; }
trap restore_unsigned EXIT

cd "$scratch"
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out certificate.pem -days 2 \
  -subj "/CN=tarnwell_env throwaway test signer" -addext "keyUsage=critical,digitalSignature" \
  -addext "extendedKeyUsage=critical,codeSigning" >/dev/null 2>&1
echo "throwaway password" >password.txt
openssl pkcs12 -export -inkey key.pem -in certificate.pem -passout file:password.txt \
  -out signer.p12

# package.sh names the .msi, then the zip, on its last two lines.
packaged=$("$top/scripts/package.sh" "$arch" | tail -n2)
zip=$(tail -n1 <<<"$packaged")
msi=$(head -n1 <<<"$packaged")
name=$(basename "$zip" .zip)
signatures="$(dirname "$zip")/$name-signatures.zip"
[ ! -e "$signatures" ] || fail "an unsigned package left $(basename "$signatures") beside it"
mkdir unsigned signed detached
unzip -q "$zip" -d unsigned

TARNWELL_SIGN_PKCS12="$scratch/signer.p12" TARNWELL_SIGN_PASSWORD_FILE="$scratch/password.txt" \
  "$top/scripts/package.sh" "$arch" >/dev/null
unzip -q "$zip" -d signed
unzip -q "$signatures" -d detached

# Every file below a folder, as paths with forward slashes, in one sorted order.
files_below() { (cd "$1" && find . -type f "${@:2}" | cut -c3- | LC_ALL=C sort); }
binaries=$(files_below "unsigned/$name" \( -name '*.exe' -o -name '*.dll' \))
[ "$arch" != win32 ] || [[ "$binaries" == *x64/* ]] \
  || fail "the zip has no binaries in an x64 folder: $(xargs <<<"$binaries")"
for binary in $binaries; do
  osslsigncode verify -CAfile certificate.pem -in "signed/$name/$binary" >verify.log 2>&1 \
    || fail "$binary does not verify: $(grep -iE 'fail|error' verify.log | head -n 3 | xargs)"
  grep -q 'Message digest algorithm *: SHA256' verify.log || fail "$binary is not signed with SHA-256"
  ! osslsigncode verify -CAfile certificate.pem -in "unsigned/$name/$binary" >/dev/null 2>&1 \
    || fail "$binary of the unsigned zip verifies"
  osslsigncode attach-signature -sigin "detached/$binary.p7s" -CAfile certificate.pem \
    -in "unsigned/$name/$binary" -out attached >/dev/null 2>&1 || fail "$binary: the detached signature cannot be attached"
  cmp -s attached "signed/$name/$binary" \
    || fail "$binary: the unsigned binary with the detached signature is not the signed binary"
  rm -f attached
done
[ "$(files_below detached | xargs)" = "$(printf '%s.p7s\n' $binaries | LC_ALL=C sort | xargs)" ] \
  || fail "the signatures zip holds: $(files_below detached | xargs)"
(cd "signed/$name" && tr -d '\r' <SHA256SUMS.txt | sha256sum --quiet -c -) \
  || fail "the signed zip's checksums are not those of its files"
for file in $(files_below "unsigned/$name" ! -name SHA256SUMS.txt); do
  case "$file" in
    *.exe | *.dll) ;;
    *) cmp -s "unsigned/$name/$file" "signed/$name/$file" || fail "signing changed $file" ;;
  esac
done

osslsigncode verify -CAfile certificate.pem -in "$msi" >verify.log 2>&1 \
  || fail "the .msi does not verify: $(grep -iE 'fail|error' verify.log | head -n 3 | xargs)"
mkdir extracted
msiextract -C extracted "$msi" >/dev/null
inside=$(find extracted -type f -exec sha256sum {} + | cut -c1-64 | sort)
for binary in $binaries; do
  grep -qx "$(sha256sum "signed/$name/$binary" | cut -c1-64)" <<<"$inside" \
    || fail "the signed .msi does not hold the signed $binary"
done

# A timestamp is asked for when a server is named: none listens on this port.
if TARNWELL_SIGN_PKCS12="$scratch/signer.p12" TARNWELL_SIGN_PASSWORD_FILE="$scratch/password.txt" \
   TARNWELL_SIGN_TIMESTAMP_URL="http://127.0.0.1:9/" "$top/scripts/package.sh" "$arch" \
   >/dev/null 2>timestamp.log; then
  fail "signing with a timestamp server that does not answer succeeded"
fi
grep -q "signing .* failed" timestamp.log || fail "no reason given when the timestamp failed: $(cat timestamp.log)"

[ "$failures" = 0 ] && echo "signed: $(echo $binaries | wc -w) binaries and the .msi verify, and the detached signatures rebuild them"
[ "$failures" = 0 ]
