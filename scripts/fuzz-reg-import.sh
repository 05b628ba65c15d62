#!/usr/bin/env bash
# Builds the REGEDIT4 import fuzzer (the fuzz preset, on the host twin registry) and
# runs it for a bounded time.
#   scripts/fuzz-reg-import.sh [SECONDS]     (default 60)
# Inputs that crash are kept under build/fuzz/reg-import/ as crash-* files; replay one
# with: build/fuzz/fuzz/reg_import_fuzzer FILE
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
"$top/scripts/build.sh" fuzz reg_import_fuzzer >/dev/null
build="$top/build/fuzz"
out="$build/reg-import"
mkdir -p "$out/corpus"

cd "$out"
# The working corpus grows under the build folder; the seeds in the repository stay as
# they are.
# Inputs up to 128 KB leave room for long values and many keys.
"$build/fuzz/reg_import_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=131072 -dict="$top/fuzz/reg_import/reg_import.dict" -print_final_stats=1 \
  -artifact_prefix="$out/" corpus "$top/fuzz/reg_import/corpus"
