#!/usr/bin/env bash
# Builds the summary's report reader fuzzer (the fuzz preset) and runs it for a bounded
# time with its dictionary, seeded with reports as the program writes them and one
# holding every field a spreadsheet would run as a formula.
#   scripts/fuzz-report-summary.sh [SECONDS] [LIBFUZZER-OPTION...]
#   (default: TARNWELL_FUZZ_SECONDS, else 60 s)
# e.g. scripts/fuzz-report-summary.sh 0 -runs=10000000 for runs by executions instead of time.
# Exits non-zero on a crash, a leak, a broken table or a process above 1 GB. Inputs that
# fail are kept under build/fuzz/report-summary/ as crash-*, leak-* or oom-* files;
# replay one with: build/fuzz/fuzz/report_summary_fuzzer FILE
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-${TARNWELL_FUZZ_SECONDS:-60}}"
shift || true
"$top/scripts/build.sh" fuzz report_summary_fuzzer >/dev/null
build="$top/build/fuzz"
out="$build/report-summary"
mkdir -p "$out/corpus"

# The working corpus grows under the build folder; the seeds in the repository stay as
# they are. Inputs up to 64 KB leave room for many checks and long values.
cd "$out"
"$build/fuzz/report_summary_fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=65536 \
  -dict="$top/fuzz/report_summary/report_summary.dict" -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$out/" "$@" corpus "$top/fuzz/report_summary/corpus"
