#!/usr/bin/env bash
# Builds the REGEDIT4 import fuzzer (clang, libFuzzer with AddressSanitizer and UBSan,
# on the host twin registry) and runs it for a bounded time.
#   scripts/fuzz-reg-import.sh [SECONDS]     (default 60)
# Inputs that crash are kept under build/fuzz-reg-import/ as crash-* files; replay one
# with: build/fuzz-reg-import/reg_import_fuzzer FILE
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
out="${TARNWELL_FUZZ_BUILD:-$top/build/fuzz-reg-import}"
mkdir -p "$out/corpus"

sources=("$top/fuzz/reg_import/reg_import_fuzzer.cpp" "$top/src/platform/host/host_registry.cpp")
for f in "$top"/src/registry/*.cpp; do sources+=("$f"); done

clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$top/src" "${sources[@]}" -o "$out/reg_import_fuzzer"

cd "$out"
# The working corpus grows under the build folder; the seeds in the repository stay as
# they are.
./reg_import_fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=8192 -print_final_stats=1 -artifact_prefix="$out/" \
  corpus "$top/fuzz/reg_import/corpus"
