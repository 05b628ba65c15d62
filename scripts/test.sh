#!/usr/bin/env bash
# Builds everything and runs every test: the host tests (also under AddressSanitizer),
# the Windows tests under Wine, the end-to-end scenarios under Wine and Xvfb, and the
# fuzzers for a bounded time. Installs missing packages first. Ends with one line
# "N passed, M failed" and exits non-zero when anything failed.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
"$top/scripts/install-deps.sh" || exit 1
source "$top/scripts/wine-env.sh"
fuzz_seconds="${TARNWELL_FUZZ_SECONDS:-60}"

passed=0
failed=0
failures=()
log_dir="$top/build/test-logs"
mkdir -p "$log_dir"

# Runs one step; counts it as one test unless it is a CTest run, whose own counts are
# added instead.
step() {
  local name="$1"; shift
  local log="$log_dir/$name.log"
  echo "=== $name"
  if "$@" >"$log" 2>&1; then
    ok=1
  else
    ok=0
  fi
  local counts
  counts=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  if [ -n "$counts" ]; then
    local total bad
    bad=$(echo "$counts" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
    total=$(echo "$counts" | sed -E 's/.* out of ([0-9]+).*/\1/')
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    [ "$bad" -gt 0 ] || [ "$ok" = 1 ] || { failed=$((failed + 1)); }
  elif [ "$ok" = 1 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
  tail -n 3 "$log"
  if [ "$ok" != 1 ]; then
    failures+=("$name")
    echo "--- $name failed; its log ($log) ends:"
    tail -n 40 "$log"
  fi
}

ctest_preset() {
  local preset="$1" label="$2"
  "$top/scripts/build.sh" "$preset" && ctest --preset "$preset" -L "$label" -j 2 --timeout 900
}

# What the build cannot check: resources freed by their owners alone, and Windows
# headers kept out of the portable core.
step sources "$top/scripts/check-sources.sh"
step host ctest_preset host host
step asan ctest_preset asan host
# The product: the 32-bit program and its support library.
step win32-product bash -c "'$top/scripts/build.sh' win32 && \
  i686-w64-mingw32-objdump -f '$top/build/win32/src/app/win32/tarnwell_env.exe' | grep 'pei-i386' >/dev/null && \
  i686-w64-mingw32-objdump -p '$top/build/win32/src/app/win32/QRX_Intel_Win32.dll' | grep 'FINDFILEINPATH$' >/dev/null"
# The registry component as shipped: the 32-bit DLL.
step win32-component "$top/scripts/check-component-dll.sh" \
  "$top/build/win32/src/com/TarnwellRegistry.dll"
# The Windows tests under Wine (the 32-bit build where this machine can run it).
step wine ctest_preset "$TARNWELL_WINE_ARCH" wine
# The resources and hardening of the binaries and the contents of the 32-bit release zip.
step release "$top/tests/package/check_release.sh" "$top/build/win32" "$top/build/$TARNWELL_WINE_ARCH"
# The same zip from a second clean copy of the sources, and the zip signed and verified
# with a throwaway certificate.
step release-rebuild "$top/tests/package/rebuild_release.sh" win32
step release-signing "$top/tests/package/sign_release.sh" win32
# The same random sequence of registry operations on the twin and on Wine's registry.
step registry-differential "$top/scripts/registry-differential.sh" \
  "$top/build/host" "$top/build/$TARNWELL_WINE_ARCH"
for scenario in "$top"/tests/e2e/*.sh; do
  [ "$(basename "$scenario")" = lib.sh ] && continue
  step "e2e-$(basename "$scenario" .sh)" "$scenario"
done
for fuzzer in "$top"/scripts/fuzz-*.sh; do
  [ -e "$fuzzer" ] || continue
  step "$(basename "$fuzzer" .sh)" "$fuzzer" "$fuzz_seconds"
done

echo
if [ ${#failures[@]} -gt 0 ]; then
  echo "Failed steps: ${failures[*]} (logs in $log_dir)"
fi
echo "The Wine tests ran the $TARNWELL_WINE_ARCH build: $TARNWELL_WINE_ARCH_REASON."
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ ${#failures[@]} -eq 0 ]
