#!/usr/bin/env bash
# Builds the release package: build/<arch>/tarnwell_env-<version>-<arch>.zip.
#   scripts/package.sh [win32|win64]   (default win32, the product)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
arch="${1:-win32}"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" "$arch" >/dev/null
cd "$top/build/$arch"
cpack -G ZIP >/dev/null
ls "$top/build/$arch"/tarnwell_env-*-"$arch".zip
