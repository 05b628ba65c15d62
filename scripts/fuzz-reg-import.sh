#!/usr/bin/env bash
# Builds the registry file fuzzers (the fuzz preset, on the host twin registry) and runs
# them for a bounded time: the import and export round trip for three quarters of it,
# the line forms alone for the rest.
#   scripts/fuzz-reg-import.sh [SECONDS] [LIBFUZZER-OPTION...]
#   (default: TARNWELL_FUZZ_SECONDS, else 60 s)
# e.g. scripts/fuzz-reg-import.sh 0 -runs=10000000 for runs by executions instead of time.
# Inputs that crash are kept under build/fuzz/reg-import/ as crash-* files; replay one
# with: build/fuzz/fuzz/reg_import_fuzzer FILE (or reg_lines_fuzzer)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-${TARNWELL_FUZZ_SECONDS:-60}}"
shift || true
"$top/scripts/build.sh" fuzz reg_import_fuzzer reg_lines_fuzzer >/dev/null
build="$top/build/fuzz"
out="$build/reg-import"
mkdir -p "$out/corpus" "$out/lines-corpus"

cd "$out"
# The working corpora grow under the build folder; the seeds in the repository stay as
# they are. Inputs up to 128 KB leave room for long values and many keys.
"$build/fuzz/reg_import_fuzzer" -max_total_time=$((seconds * 3 / 4)) -timeout=10 \
  -rss_limit_mb=2048 -max_len=131072 -dict="$top/fuzz/reg_import/reg_import.dict" \
  -print_final_stats=1 -artifact_prefix="$out/" "$@" corpus "$top/fuzz/reg_import/corpus"
"$build/fuzz/reg_lines_fuzzer" -max_total_time=$((seconds - seconds * 3 / 4)) -timeout=10 \
  -rss_limit_mb=2048 -max_len=4096 -dict="$top/fuzz/reg_import/reg_import.dict" \
  -print_final_stats=1 -artifact_prefix="$out/lines-" "$@" lines-corpus
