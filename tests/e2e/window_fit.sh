#!/usr/bin/env bash
# The window on the screens users have: at 96, 144 and 192 DPI on 1366x768 and 1280x1024
# screens, under a window manager. Each time the whole window is on screen, its controls
# are drawn at the screen's DPI, the four buttons are inside it and each does its work
# when clicked where the window says it is; resizing smaller and larger and maximising
# keep the buttons whole and on screen while the pane shrinks and grows.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"
trap e2e_stop_display EXIT

bin_file='C:\Bin\Tarnwell\QRX_EPSG_definitions.dat'
definitions="$E2E_BUILD/e2e/window_fit_valid.dat"
buttons=("Done" "Copy Text" "Test EPSG definitions" "Update EPSG app location")

# The geometry line for a control: "LEFT TOP RIGHT BOTTOM".
control_rect() { grep "^control|$1|" <<<"$geometry" | cut -d'|' -f4- | tr '|' ' '; }
pane_height() { local l t r b; read -r l t r b < <(control_rect pane); echo $((b - t)); }

# Fails unless the window's frame and every button lie on the screen and every button
# inside the client area.
check_on_screen() {
  local what="$1" sw sh cl ct cr cb l t r b name
  geometry="$(e2e_geometry)"
  read -r sw sh < <(sed -n 's/^screen //p' <<<"$geometry")
  read -r cl ct cr cb < <(sed -n 's/^client //p' <<<"$geometry")
  read -r l t r b < <(e2e_frame)
  [ "$l" -ge 0 ] && [ "$t" -ge 0 ] && [ "$r" -le "$sw" ] && [ "$b" -le "$sh" ] \
    || e2e_fail "$what: the window's frame ($l $t $r $b) leaves the ${sw}x${sh} screen"
  for name in "${buttons[@]}"; do
    read -r l t r b < <(control_rect "$name")
    [ -n "${b:-}" ] || e2e_fail "$what: no button $name"
    [ "$l" -ge "$cl" ] && [ "$t" -ge "$ct" ] && [ "$r" -le "$cr" ] && [ "$b" -le "$cb" ] \
      && [ "$r" -le "$sw" ] && [ "$b" -le "$sh" ] \
      || e2e_fail "$what: $name ($l $t $r $b) is not whole in the client area ($cl $ct $cr $cb)"
  done
}

# Drags the frame's bottom-right corner by DX DY with the pointer.
drag_corner() {
  local l t r b
  read -r l t r b < <(e2e_frame)
  xdotool mousemove $((r - 2)) $((b - 2))
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
  xdotool mousemove $((r - 2 + $1 / 2)) $((b - 2 + $2 / 2))
  sleep 0.3
  xdotool mousemove $((r - 2 + $1)) $((b - 2 + $2))
  sleep 0.3
  xdotool mouseup 1
  sleep 1
}

"$TARNWELL_WINE" "$E2E_BUILD/tests/tools/epsg_writer/epsg_writer.exe" "$(e2e_windows_path "$definitions")" \
  --counts 3,1,2,0,4,1,2,1,2 --integer-count 2 --texts synthetic >/dev/null 2>&1 \
  || e2e_fail "the writer could not write the definitions file"

for screen in 1366x768 1280x1024; do
  for dpi in 96 144 192; do
    name="fit_${dpi}dpi_$screen"
    out="$E2E_BUILD/e2e/$name"
    E2E_SCREEN=$screen e2e_start_display
    e2e_new_prefix "$name"
    e2e_set_dpi "$dpi"
    e2e_put_file "$bin_file" "$definitions"
    e2e_start_program
    check_on_screen "$name, as opened"
    # Drawn at the screen's DPI: the buttons are 290 twips high.
    read -r l t r b < <(control_rect "Copy Text")
    want=$(( 290 * dpi / 1440 ))
    [ $((b - t)) -ge $((want - 2)) ] && [ $((b - t)) -le $((want + 2)) ] \
      || e2e_fail "$name: Copy Text is $((b - t)) pixels high, not about $want"
    e2e_screenshot "$out/opened.png"

    opened=$(pane_height)
    drag_corner -150 -200
    check_on_screen "$name, made smaller"
    smaller=$(pane_height)
    [ "$smaller" -lt "$opened" ] || e2e_fail "$name: the pane did not shrink ($opened -> $smaller)"
    drag_corner 100 120
    check_on_screen "$name, made larger again"
    [ "$(pane_height)" -gt "$smaller" ] || e2e_fail "$name: the pane did not grow"

    # Maximised with a double-click on the title bar.
    read -r l t r b < <(e2e_frame)
    xdotool mousemove $(( (l + r) / 2 )) $((t + 8)) click --repeat 2 --delay 120 1
    sleep 1.5
    check_on_screen "$name, maximised"
    grep -qx "state maximized" <<<"$geometry" || e2e_fail "$name: the window is not maximised"
    [ "$(pane_height)" -ge "$smaller" ] || e2e_fail "$name: the maximised pane is smaller"
    e2e_screenshot "$out/maximised.png"

    # Each button does its work.
    e2e_click copy_text
    e2e_clipboard "$out/before.txt"
    head -c 41 "$out/before.txt" | grep -q "^Tarnwell System Environment Report Date: " \
      || e2e_fail "$name: Copy Text did not copy the report"
    e2e_click test_epsg
    e2e_dialog "$out/verdict.txt"
    [ "$(cat "$out/verdict.txt")" = "The EPSG definition file $bin_file is valid" ] \
      || e2e_fail "$name: Test said '$(cat "$out/verdict.txt")'"
    e2e_click update_epsg
    e2e_click copy_text
    e2e_clipboard "$out/after.txt"
    { cat "$out/before.txt"; printf '\r\r%s' "Test QRX_EPSG_definitions location"; } >"$out/start.txt"
    cmp -s "$out/start.txt" <(head -c "$(wc -c <"$out/start.txt")" "$out/after.txt") \
      || e2e_fail "$name: Update did not add its lines after the report"
    e2e_click done
    e2e_wait_exit
    e2e_stop_display
    echo "$name: ok"
  done
done
