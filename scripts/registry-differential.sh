#!/usr/bin/env bash
# Runs the registry's random step sequence (tests/registry/registry_differential_test.cpp)
# on the host twin and, under Wine, against the real registry, and compares the two
# step logs line by line. Fails on the first step whose result differs.
#   scripts/registry-differential.sh HOST_BUILD_DIR WINDOWS_BUILD_DIR [SEED]
# Both builds must have built registry_tests.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
host_dir="$(cd "$1" && pwd)"
win_dir="$(cd "$2" && pwd)"
out="$win_dir/registry-differential"
mkdir -p "$out"
rm -f "$out/host.log" "$out/wine.log"
filter="--gtest_filter=RegistryDifferential.*"
if [ -n "${3:-}" ]; then export TARNWELL_REGISTRY_SEED="$3"; fi

if ! TARNWELL_REGISTRY_STEP_LOG="$out/host.log" \
    "$host_dir/tests/registry_tests" "$filter" >"$out/host.out" 2>&1; then
  cat "$out/host.out"; echo "registry differential: the host run failed" >&2; exit 1
fi
# Wine shows the Unix root as drive Z:.
if ! TARNWELL_REGISTRY_STEP_LOG="Z:$out/wine.log" \
    TARNWELL_WINEPREFIX="${TARNWELL_WINEPREFIX:-$win_dir/wineprefix}" \
    "$here/wine-run.sh" "$win_dir/tests/registry_tests.exe" "$filter" >"$out/wine.out" 2>&1; then
  cat "$out/wine.out"; echo "registry differential: the Wine run failed" >&2; exit 1
fi

for log in host wine; do
  if [ ! -s "$out/$log.log" ]; then
    echo "registry differential: no step log from the $log run ($out/$log.log)" >&2; exit 1
  fi
done
if ! cmp -s "$out/host.log" "$out/wine.log"; then
  echo "registry differential: the twin and Wine differ (first differences):" >&2
  diff -u "$out/wine.log" "$out/host.log" | head -40 >&2 || true
  exit 1
fi
echo "registry differential: $(wc -l <"$out/host.log") steps agree"
