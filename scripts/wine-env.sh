# Sourced by the scripts that run Windows programs: picks the Wine loader that can run
# the chosen build and sets a private prefix. Needs TARNWELL_WINEPREFIX or a default.
#   TARNWELL_WINE_ARCH=win32|win64 (default: win32 when this machine runs 32-bit code
#   and has the 32-bit Wine loader)

# Which Windows build the Wine tests run, and why (scripts/test.sh prints the reason).
if [ -n "${TARNWELL_WINE_ARCH:-}" ]; then
  TARNWELL_WINE_ARCH_REASON="chosen by TARNWELL_WINE_ARCH"
elif ! "$(dirname "${BASH_SOURCE[0]}")/runs-32bit-code.sh"; then
  TARNWELL_WINE_ARCH=win64
  TARNWELL_WINE_ARCH_REASON="this machine cannot execute 32-bit code"
elif ! { [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; }; then
  TARNWELL_WINE_ARCH=win64
  TARNWELL_WINE_ARCH_REASON="the 32-bit Wine loader (wine32:i386) is not installed"
else
  TARNWELL_WINE_ARCH=win32
  TARNWELL_WINE_ARCH_REASON="this machine executes 32-bit code and has the 32-bit Wine loader"
fi
export TARNWELL_WINE_ARCH_REASON
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
