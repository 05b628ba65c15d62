#!/usr/bin/env bash
# Builds everything and runs every test, each one a CTest test: in the host build the
# unit tests (label host), the sources' rules (sources) and the fuzzers (fuzz, for
# TARNWELL_FUZZ_SECONDS each, default 60); the unit tests again under AddressSanitizer;
# in the Windows build that Wine runs here, the Windows tests (wine), the end-to-end
# scenarios (e2e), the release checks (release) and the registry differential
# (differential). Installs missing packages first. Each CTest run prints its own
# summary; the last lines say which builds and runs failed, and the script exits
# non-zero when anything failed.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
"$top/scripts/install-deps.sh" || exit 1
source "$top/scripts/wine-env.sh"
export TARNWELL_FUZZ_SECONDS="${TARNWELL_FUZZ_SECONDS:-60}"

failures=()
# Runs one step by name; a failure is named at the end.
step() {
  local name="$1"; shift
  echo "=== $name"
  "$@" || failures+=("$name")
}
# The builds come first: the Windows build's tests need the host build and both Windows
# builds (the release holds 32-bit and 64-bit binaries, and the 64-bit component is
# tested wherever Wine runs), and the fuzzers build their own preset.
builds=(host asan win32 win64)
for preset in "${builds[@]}"; do
  step "build $preset" "$top/scripts/build.sh" "$preset"
done
built() { [[ ! " ${failures[*]} " =~ " build $1 " ]]; }
# One CTest run per build, over the labels it holds; a build that failed is not run.
run_ctest() {
  local preset="$1" labels="$2"
  if built "$preset"; then
    step "ctest $preset ($labels)" ctest --preset "$preset" -L "$labels" -j 2 --timeout 900
  fi
}
run_ctest host 'host|sources|fuzz'
run_ctest asan host
run_ctest "$TARNWELL_WINE_ARCH" 'wine|e2e|release|differential'

echo
echo "The Wine tests ran the $TARNWELL_WINE_ARCH build: $TARNWELL_WINE_ARCH_REASON."
if [ ${#failures[@]} -gt 0 ]; then
  echo "FAILED: $(IFS=,; echo "${failures[*]}" | sed 's/,/, /g') (CTest's logs: build/<preset>/Testing/Temporary/)"
  exit 1
fi
echo "Every build and every CTest run passed."
