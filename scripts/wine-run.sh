#!/usr/bin/env bash
# Runs one Windows program under Wine in the build tree's private prefix; used by CTest
# as the emulator of the Windows builds.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
exe="$1"; shift
tarnwell_prefix "${TARNWELL_WINEPREFIX:-$(cd "$(dirname "$exe")" && pwd)/wineprefix}"
exec "$TARNWELL_WINE" "$exe" "$@"
