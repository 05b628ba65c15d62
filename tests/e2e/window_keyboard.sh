#!/usr/bin/env bash
# The window from the keyboard and the pane's safety, with a real keyboard and pointer:
# the focus starts on Done; Tab and Shift+Tab follow the tab order (Done, pane, Copy
# Text, Test, Update) and skip disabled buttons; typing, pasting and deleting in the pane
# leave the report as it was; Ctrl+A, Ctrl+C and the pane's right-click menu copy it;
# Enter presses the focused button; Escape ends the program.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT
e2e_start_display

# Presses each key and expects the focus on the control named after it.
expect_focus_after() {
  local scenario="$1"; shift
  local key want got
  while [ $# -gt 0 ]; do
    key="$1" want="$2"; shift 2
    e2e_keys "$key"
    got="$(e2e_focus)"
    [ "$got" = "$want" ] || e2e_fail "$scenario: after $key the focus is on '$got', not '$want'"
  done
}

# The report as the pane itself copies it: its paragraph breaks become CR LF.
as_pane_copies() { sed 's/\r/\r\n/g' "$1"; }

open_menu() {
  e2e_click pane 3
  "$TARNWELL_WINE" "$E2E_PROBE" menu >/dev/null 2>&1 || e2e_fail "no menu on a right-click"
}

# (a) A bare workstation: the two EPSG buttons are disabled and skipped.
e2e_new_prefix keyboard_bare
e2e_start_program
[ "$(e2e_focus)" = "Done" ] || e2e_fail "keyboard_bare: the focus starts on '$(e2e_focus)'"
expect_focus_after keyboard_bare Tab pane Tab "Copy Text" Tab Done \
  shift+Tab "Copy Text" shift+Tab pane shift+Tab Done
e2e_keys Escape
e2e_wait_exit
"$WINESERVER" -k >/dev/null 2>&1 || true
echo "keyboard_bare: ok"

# (b) A workstation with a definitions file: every control in the tab order.
e2e_new_prefix keyboard
out="$E2E_BUILD/e2e/keyboard"
e2e_put_file 'C:\Bin\Tarnwell\QRX_EPSG_definitions.dat'
e2e_start_program
[ "$(e2e_focus)" = "Done" ] || e2e_fail "keyboard: the focus starts on '$(e2e_focus)'"
expect_focus_after keyboard Tab pane Tab "Copy Text" Tab "Test EPSG definitions" \
  Tab "Update EPSG app location" Tab Done shift+Tab "Update EPSG app location" \
  shift+Tab "Test EPSG definitions" shift+Tab "Copy Text" shift+Tab pane shift+Tab Done
e2e_click copy_text
e2e_clipboard "$out/before.txt"

# Typing into the pane, from the keyboard and the clipboard, changes nothing.
e2e_click pane
xdotool type --delay 50 "typed into the report"
e2e_keys Return BackSpace Delete ctrl+a Delete ctrl+x ctrl+v ctrl+z Tab
e2e_click pane
e2e_keys ctrl+End Return ctrl+v
e2e_click copy_text
e2e_clipboard "$out/after_typing.txt"
cmp -s "$out/before.txt" "$out/after_typing.txt" || e2e_fail "keyboard: typing changed the report"

# Ctrl+A and Ctrl+C in the pane copy the whole report.
e2e_click pane
e2e_keys ctrl+a ctrl+c
e2e_clipboard "$out/ctrl_c.txt"
cmp -s <(as_pane_copies "$out/before.txt") "$out/ctrl_c.txt" \
  || e2e_fail "keyboard: Ctrl+A, Ctrl+C did not copy the report"

# The right-click menu: Copy does nothing without a selection; Select All, then Copy,
# copy the whole report.
e2e_click copy_text
e2e_click pane
open_menu
e2e_screenshot "$out/menu.png"
e2e_keys c
# A disabled item leaves the menu open; Escape then closes the menu, not the window.
if "$TARNWELL_WINE" "$E2E_PROBE" menu >/dev/null 2>&1; then e2e_keys Escape; fi
kill -0 "$E2E_PID" || e2e_fail "keyboard: the program ended"
e2e_clipboard "$out/menu_no_selection.txt"
cmp -s "$out/before.txt" "$out/menu_no_selection.txt" \
  || e2e_fail "keyboard: the menu's Copy without a selection changed the clipboard"
open_menu
e2e_keys a
open_menu
e2e_keys c
e2e_clipboard "$out/menu_copy.txt"
cmp -s <(as_pane_copies "$out/before.txt") "$out/menu_copy.txt" \
  || e2e_fail "keyboard: the menu's Select All and Copy did not copy the report"

# Enter presses the focused button: Copy Text puts the CR-only report back.
e2e_click pane
e2e_keys Tab
[ "$(e2e_focus)" = "Copy Text" ] || e2e_fail "keyboard: Tab from the pane went to '$(e2e_focus)'"
e2e_keys Return
e2e_clipboard "$out/enter.txt"
cmp -s "$out/before.txt" "$out/enter.txt" || e2e_fail "keyboard: Enter did not press Copy Text"

# Escape, from the pane, ends the program.
e2e_click pane
e2e_keys Escape
e2e_wait_exit
echo "keyboard: ok"
