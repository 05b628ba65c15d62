# Shared steps of the end-to-end tests: the real program under Wine on a virtual X
# display with a window manager, driven by real pointer clicks and keys, read back
# through the clipboard and the real dialogs.
# Source after scripts/wine-env.sh. Every scenario gets a fresh copy of a template
# prefix, so scenarios cannot see each other's registry or files.

E2E_TOP="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
E2E_BUILD="${E2E_BUILD:-$E2E_TOP/build/$TARNWELL_WINE_ARCH}"
E2E_EXE="$E2E_BUILD/src/app/win32/tarnwell_env.exe"
E2E_PROBE="$E2E_BUILD/tests/tools/e2e_probe/e2e_probe.exe"
E2E_CAPTION="Tarnwell System Files"
# Message boxes carry the window's caption as their title.
E2E_TITLE="$E2E_CAPTION"
export LC_ALL=C TZ=UTC

e2e_fail() { echo "FAIL: $*" >&2; return 1; }

# Ends the scenario unless every file named was built.
e2e_require_built() {
  local built
  for built in "$@"; do
    [ -f "$built" ] || { e2e_fail "$built is missing: build the $TARNWELL_WINE_ARCH preset"; exit 1; }
  done
}

# A fresh prefix for one scenario, copied from a template made once per build.
e2e_new_prefix() {
  local name="$1"
  tarnwell_prefix "$E2E_BUILD/e2e/template-prefix"
  "$WINESERVER" -w
  local prefix="$E2E_BUILD/e2e/$name/prefix"
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  e2e_clone_prefix "$E2E_BUILD/e2e/template-prefix" "$prefix"
  export WINEPREFIX="$prefix"
  E2E_DRIVE_C="$prefix/drive_c"
}

# A prefix is 700 MB, almost all of it Wine's own programs and libraries, which nothing
# writes to: the clone hard-links those and copies everything else (registry files, ini
# files, user folders), so thirty scenarios fit on a small disk and cannot change each
# other's or the template's state.
e2e_clone_prefix() {
  local from="$1" to="$2" file
  cp -al "$from" "$to"
  find "$to" -type f ! -iregex '.*\.\(dll\|exe\|sys\|drv\|nls\|ocx\|cpl\|acm\|tlb\|ax\|com\)' \
    -print0 | while IFS= read -r -d '' file; do
    cp -p --remove-destination "$from/${file#"$to"/}" "$file"
  done
}

# Xvfb on a free display with the openbox window manager (title bars, resizing,
# maximising, focus), at E2E_SCREEN (WIDTHxHEIGHT, default 1280x1024). On a busy machine
# a server can go before its window manager connects: then both start again.
e2e_start_display() {
  local attempt
  for attempt in 1 2 3; do
    e2e_try_display && return 0
    e2e_stop_display
  done
  e2e_fail "no display with a window manager: $(tail -n 2 "$E2E_BUILD/e2e/openbox.log")"
}

e2e_try_display() {
  mkdir -p "$E2E_BUILD/e2e"
  local display_file
  display_file="$(mktemp)"
  # Xvfb picks a free display itself and writes its number once it accepts clients: no
  # race with the servers of other test runs on this machine.
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024}x24" -nolisten tcp \
    3>"$display_file" >/dev/null 2>&1 &
  E2E_XVFB=$!
  local _
  for _ in $(seq 300); do
    [ -s "$display_file" ] && break
    kill -0 "$E2E_XVFB" 2>/dev/null || break
    sleep 0.1
  done
  local n
  n=$(tr -d '\n' <"$display_file")
  rm -f "$display_file"
  [ -n "$n" ] || return 1
  export DISPLAY=":$n"
  xdotool getdisplaygeometry >/dev/null 2>&1 || return 1
  openbox --sm-disable >"$E2E_BUILD/e2e/openbox.log" 2>&1 &
  E2E_WM=$!
  for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$E2E_WM" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

e2e_stop_display() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${E2E_WM:-}" ] && kill "$E2E_WM" 2>/dev/null || true
  [ -n "${E2E_XVFB:-}" ] && kill "$E2E_XVFB" 2>/dev/null || true
  wait "${E2E_WM:-}" "${E2E_XVFB:-}" 2>/dev/null || true
  E2E_XVFB="" E2E_WM=""
}

# Starts the program without waiting for its window (a message box may come first).
# E2E_STARTED_MS is when it was started.
e2e_launch() {
  local exe="${1:-$E2E_EXE}"
  E2E_STARTED_MS=$(date +%s%3N)
  "$TARNWELL_WINE" "$exe" >/dev/null 2>&1 &
  E2E_PID=$!
}

# The X window of the program's main window: visible, with the caption, and not one of
# its message boxes, which carry the same title.
e2e_find_window() {
  local id
  for id in $(xdotool search --onlyvisible --name "^${E2E_CAPTION}\$" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG \
      || { echo "$id"; return 0; }
  done
  return 1
}

# Waits for the window (up to a minute); E2E_SHOWN_MS is when it appeared.
e2e_wait_window() {
  E2E_WINDOW=""
  local deadline=$(( $(date +%s) + 60 ))
  while [ "$(date +%s)" -lt "$deadline" ]; do
    E2E_WINDOW=$(e2e_find_window || true)
    [ -n "$E2E_WINDOW" ] && break
    kill -0 "$E2E_PID" 2>/dev/null || break
    sleep 0.02
  done
  E2E_SHOWN_MS=$(date +%s%3N)
  if [ -z "$E2E_WINDOW" ]; then
    local state="still running"
    kill -0 "$E2E_PID" 2>/dev/null || state="ended"
    e2e_fail "the window '$E2E_CAPTION' did not appear (the program has $state)"
  fi
}

e2e_start_program() {
  e2e_launch "$@"
  e2e_wait_window
}

# The probe's name of a control: a button's caption, or "pane".
e2e_control_name() {
  case "$1" in
    done) echo "Done" ;;
    copy_text) echo "Copy Text" ;;
    test_epsg) echo "Test EPSG definitions" ;;
    update_epsg) echo "Update EPSG app location" ;;
    pane) echo "pane" ;;
    *) e2e_fail "no control $1"; return 1 ;;
  esac
}

# The centre of a control in screen pixels, as the running window reports it.
e2e_control_centre() {
  local name
  name="$(e2e_control_name "$1")" || return 1
  "$TARNWELL_WINE" "$E2E_PROBE" where "$E2E_CAPTION" "$name" 2>/dev/null | tr -d '\r'
}

# A real pointer click (BUTTON 1 left, 3 right) on a control, where the window says it is:
# e2e_click CONTROL [BUTTON].
e2e_click() {
  local x y
  read -r x y < <(e2e_control_centre "$1") || true
  [ -n "${y:-}" ] || { e2e_fail "the window does not report where $1 is"; return 1; }
  xdotool mousemove "$x" "$y" click "${2:-1}"
  sleep 0.5
}

# The window's geometry as it reports it (see tests/tools/e2e_probe): lines "screen W H",
# "work|window|client L T R B", "state ...", "control|NAME|STATE|L|T|R|B".
e2e_geometry() { "$TARNWELL_WINE" "$E2E_PROBE" geometry "$E2E_CAPTION" 2>/dev/null | tr -d '\r'; }

# The window manager's frame around the program's window, title bar included, in screen
# pixels: "LEFT TOP RIGHT BOTTOM".
e2e_frame() {
  local x y w h extents
  eval "$(xwininfo -id "$E2E_WINDOW" | sed -n \
    -e 's/^ *Absolute upper-left X: *\(-*[0-9]*\)$/x=\1/p' \
    -e 's/^ *Absolute upper-left Y: *\(-*[0-9]*\)$/y=\1/p' \
    -e 's/^ *Width: *\([0-9]*\)$/w=\1/p' -e 's/^ *Height: *\([0-9]*\)$/h=\1/p')"
  extents=$(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ',')
  local l r t b
  read -r l r t b <<<"${extents:-0 0 0 0}"
  echo "$((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))"
}

# The control with the keyboard focus: a button's caption or "pane".
e2e_focus() { "$TARNWELL_WINE" "$E2E_PROBE" focus "$E2E_CAPTION" 2>/dev/null | tr -d '\r'; }

# Keys pressed on the real keyboard, into the focused window: e2e_keys KEY...
e2e_keys() {
  xdotool key --delay 80 "$@"
  sleep 0.5
}

# Puts a file at a Windows path on the scenario's C: drive, making its folders: a copy
# of SOURCE, or a one-byte file without it. e2e_put_file WINDOWS_PATH [SOURCE]
e2e_put_file() {
  local target
  target="$(e2e_unix_path "$1")"
  mkdir -p "$(dirname "$target")"
  if [ $# -ge 2 ]; then cp "$2" "$target"; else printf 'x' >"$target"; fi
}

e2e_windows_path() { echo "Z:${1//\//\\}"; }

# A Windows path on the scenario's C: drive, as a Linux path.
e2e_unix_path() { local p="${1#C:\\}"; echo "$E2E_DRIVE_C/${p//\\//}"; }

# The clipboard's plain text, in UTF-8, into a file. The probe takes the text, so
# each read sees a new copy; it waits for one that is still in the program's queue.
e2e_clipboard() {
  rm -f "$1"
  local status=0
  "$TARNWELL_WINE" "$E2E_PROBE" clipboard "$(e2e_windows_path "$1")" >/dev/null 2>&1 \
    || status=$?
  [ "$status" -eq 0 ] || e2e_fail "could not read the clipboard (probe exit $status)"
}

# Waits for the program's message box, writes its text to a file and presses OK.
e2e_dialog() {
  rm -f "$1"
  "$TARNWELL_WINE" "$E2E_PROBE" dialog "$E2E_TITLE" "$(e2e_windows_path "$1")" >/dev/null 2>&1 \
    || e2e_fail "no message box appeared"
}

# "caption enabled|disabled" for each button of the window.
e2e_buttons() { "$TARNWELL_WINE" "$E2E_PROBE" buttons "$E2E_CAPTION" 2>/dev/null | tr -d '\r'; }

e2e_screenshot() { import -window root "$1"; }

# Ends a scenario: a screenshot, Done clicked, the program gone, the prefix's server
# stopped.
e2e_finish() {
  e2e_screenshot "$E2E_BUILD/e2e/$1/screenshot.png"
  e2e_click done
  e2e_wait_exit
  "$WINESERVER" -k >/dev/null 2>&1 || true
  echo "$1: ok"
}

e2e_wait_exit() {
  for _ in $(seq 200); do
    kill -0 "$E2E_PID" 2>/dev/null || { wait "$E2E_PID" 2>/dev/null || true; return 0; }
    sleep 0.05
  done
  e2e_fail "the program did not exit"
}

# The screen's DPI for programs started after it (96, 144, 192, ...).
e2e_set_dpi() {
  "$TARNWELL_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    >/dev/null 2>&1 || e2e_fail "reg add LogPixels $1"
}

# Sets a text value with Wine's own reg.exe, in the registry view the program sees:
# e2e_reg KEY NAME DATA.
e2e_reg() {
  local view="/reg:64"
  [ "$TARNWELL_WINE_ARCH" = win32 ] && view="/reg:32"
  "$TARNWELL_WINE" reg add "$1" /v "$2" /t REG_SZ /d "$3" /f "$view" >/dev/null 2>&1 \
    || e2e_fail "reg add $1 $2"
}
