# Sourced by the scripts that run Windows programs: picks the Wine loader that can run
# the chosen build and sets a private prefix. Needs TARNWELL_WINEPREFIX or a default.
#   TARNWELL_WINE_ARCH=win32|win64 (default: win32 when this machine runs 32-bit code)

tarnwell_can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

if [ -z "${TARNWELL_WINE_ARCH:-}" ]; then
  if tarnwell_can_run_32bit; then TARNWELL_WINE_ARCH=win32; else TARNWELL_WINE_ARCH=win64; fi
fi
export TARNWELL_WINE_ARCH
if [ "$TARNWELL_WINE_ARCH" = win32 ]; then
  TARNWELL_WINE=/usr/bin/wine
  unset WINELOADER
  export WINESERVER=/usr/lib/wine/wineserver
else
  TARNWELL_WINE=/usr/lib/wine/wine64
  export WINELOADER=/usr/lib/wine/wine64
  export WINESERVER=/usr/lib/wine/wineserver64
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Makes the prefix once; concurrent callers wait for the first.
tarnwell_prefix() {
  export WINEPREFIX="$1"
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$TARNWELL_WINE" wineboot -i >/dev/null 2>&1 || true
      "$WINESERVER" -w
    fi
  ) 9>"$WINEPREFIX.lock"
}
