#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture of the window: the real program under
# Wine at 96 DPI, on the sample workstation of docs/sample_workstation (made by its own
# sample.cmd), cut out of the screen with the window manager's frame.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/install-deps.sh"
source "$top/scripts/wine-env.sh"
"$top/scripts/build.sh" "$TARNWELL_WINE_ARCH" >/dev/null
source "$top/tests/e2e/lib.sh"
trap e2e_stop_display EXIT

e2e_new_prefix screenshot
sample="$E2E_DRIVE_C/sample_workstation"
cp -r "$top/docs/sample_workstation" "$sample"
"$TARNWELL_WINE" cmd /c 'C:\sample_workstation\sample.cmd' >/dev/null 2>&1 \
  || e2e_fail "the sample workstation could not be made"
E2E_SCREEN=1280x1024 e2e_start_display
e2e_start_program
sleep 1
read -r left top_edge right bottom < <(e2e_frame)
import -window root -crop "$((right - left))x$((bottom - top_edge))+$left+$top_edge" +repage \
  "$top/docs/screenshot.png"
e2e_click done
e2e_wait_exit
echo "$top/docs/screenshot.png"
