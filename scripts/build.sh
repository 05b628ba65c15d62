#!/usr/bin/env bash
# Configures and builds one preset: host, asan, win32 (the 32-bit product) or win64 (the
# same program for Wine on machines that cannot run 32-bit code).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
preset="$1"
werror="${TARNWELL_WERROR:-ON}"
cmake --preset "$preset" -S "$top" -DTARNWELL_WERROR="$werror" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
