#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when any is missing.
# Fails only when one of those cannot be installed, and names it. The 32-bit Wine
# loader is asked for only where this machine executes 32-bit code; where it cannot be
# had, the Wine tests run the 64-bit build instead (scripts/wine-env.sh decides).
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
probe_32bit="${TARNWELL_32BIT_PROBE:-$here/runs-32bit-code.sh}"
retry_wait="${TARNWELL_APT_RETRY_WAIT:-15}"

needed=(cmake make g++ googletest libgtest-dev
        g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools libwine-dev
        wine wine64 xvfb xdotool xclip imagemagick fonts-liberation openbox
        x11-utils icoutils unzip zip clang libclang-rt-14-dev sqlite3 libsqlite3-dev proj-data
        osslsigncode openssl perl python3-jsonschema nlohmann-json3-dev time wixl msitools faketime)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for package in "${needed[@]}"; do
  installed "$package" || missing+=("$package")
done
want_wine32=0
if "$probe_32bit"; then
  installed wine32:i386 || want_wine32=1
fi
[ ${#missing[@]} -eq 0 ] && [ "$want_wine32" = 0 ] && exit 0

sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
log="$(mktemp)"
trap 'rm -f "$log"' EXIT

if [ "$want_wine32" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

# A mirror caught mid-sync serves an index that does not match its Release file. Try
# once more after a wait; an index that still fails is named, and the others are used.
if ! $sudo apt-get update -q >"$log" 2>&1; then
  sleep "$retry_wait"
  if ! $sudo apt-get update -q >"$log" 2>&1; then
    grep -E '^(W|E): Failed to fetch ' "$log" | sed -E 's/^[WE]: Failed to fetch ([^ ]+).*/\1/' |
      sort -u | while read -r index; do
        echo "A package index failed to download, going on without it: $index"
      done
  fi
fi

apt_install() {
  $sudo apt-get install -y -q --no-install-recommends "$@" >"$log" 2>&1
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # One package that cannot be had would stop the whole list: then take them one by one,
  # so that everything installable is installed and only the rest is named.
  if ! apt_install "${missing[@]}"; then
    for package in "${missing[@]}"; do apt_install "$package"; done
  fi
  unavailable=()
  for package in "${missing[@]}"; do
    installed "$package" || unavailable+=("$package")
  done
  if [ ${#unavailable[@]} -gt 0 ]; then
    echo "Cannot install ${unavailable[*]}, which the build and the tests need." >&2
    exit 1
  fi
fi

if [ "$want_wine32" = 1 ]; then
  echo "Installing: wine32:i386"
  if ! apt_install wine32:i386; then
    reason="$(grep -E '^E: ' "$log" | tail -n1 | sed 's/^E: //')"
    echo "wine32:i386 could not be installed (${reason:-apt-get failed}):" \
         "the Wine tests will run the 64-bit build."
  fi
fi
exit 0
