#!/usr/bin/env bash
# Configures and builds one preset: host, asan, win32 (the 32-bit product), win64 (the
# same program for Wine on machines that cannot run 32-bit code) or fuzz (the libFuzzer
# targets). Targets after the preset build only those.
#   scripts/build.sh PRESET [TARGET...]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
preset="$1"
cd "$top"  # the presets are read from the current folder
shift
targets=()
[ $# -eq 0 ] || targets=(--target "$@")
werror="${TARNWELL_WERROR:-ON}"
cmake --preset "$preset" -S "$top" -DTARNWELL_WERROR="$werror" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" "${targets[@]}"
