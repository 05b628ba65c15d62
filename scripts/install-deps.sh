#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when any is missing.
set -euo pipefail

packages=(cmake make g++ googletest libgtest-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools libwine-dev
          wine wine64 xvfb xdotool xclip imagemagick fonts-liberation openbox
          x11-utils icoutils unzip zip clang libclang-rt-14-dev sqlite3 libsqlite3-dev proj-data
          osslsigncode openssl perl python3-jsonschema)
# The 32-bit Wine loader runs the 32-bit build where the machine can execute 32-bit code.
want_wine32=1

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
    || missing+=("$package")
done
if [ "$want_wine32" = 1 ] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null \
     | grep -q "install ok installed"; then
  missing+=("wine32:i386")
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
