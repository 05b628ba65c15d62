#!/usr/bin/env bash
# Builds tarnwell_env and runs it under Wine. Without a display it runs under Xvfb,
# prints the report (copied with the Copy Text button) and saves a screenshot.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/install-deps.sh"
source "$top/scripts/wine-env.sh"
"$top/scripts/build.sh" "$TARNWELL_WINE_ARCH"
build="$top/build/$TARNWELL_WINE_ARCH"
tarnwell_prefix "$build/run-prefix"
exe="$build/src/app/win32/tarnwell_env.exe"

if [ -n "${DISPLAY:-}" ]; then
  exec "$TARNWELL_WINE" "$exe"
fi

source "$top/tests/e2e/lib.sh"
e2e_start_display
e2e_start_program "$exe"
e2e_click copy_text
e2e_clipboard "$build/report.txt"
echo "----- report (CR line breaks shown as new lines) -----"
tr '\r' '\n' < "$build/report.txt"; echo
e2e_screenshot "$build/screenshot.png"
echo "----- screenshot: $build/screenshot.png -----"
e2e_click done
e2e_wait_exit
e2e_stop_display
