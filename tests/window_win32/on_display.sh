#!/usr/bin/env bash
# Runs the window tests under Wine on a display of their own: an Xvfb that picked a free
# display number itself and answers, with a window manager, as the end-to-end scenarios
# get theirs. A display that is gone or taken when Wine first connects leaves every
# window of the run without a driver.
#   on_display.sh TEST_EXE [ARGS...]   (TARNWELL_WINEPREFIX names the prefix)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/../e2e/lib.sh"
exe="$1"; shift
tarnwell_prefix "$TARNWELL_WINEPREFIX"
trap e2e_stop_display EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
e2e_start_display
"$TARNWELL_WINE" "$exe" "$@"
