#!/usr/bin/env bash
# Builds the EPSG definitions reader fuzzer (the fuzz preset) and runs it for a bounded
# time with its dictionary, seeded with valid files from the writer that reach every
# section and every record layout.
#   scripts/fuzz-epsg.sh [SECONDS] [LIBFUZZER-OPTION...]
#   (default: TARNWELL_FUZZ_SECONDS, else 60 s)
# e.g. scripts/fuzz-epsg.sh 0 -runs=10000000 for a run by executions instead of time.
# Exits non-zero on a crash, a leak, one allocation of more than 1 MB (inputs are at most
# 128 KB, and the reader allocates nothing beyond its messages) or a process
# above 1 GB. Inputs that fail are kept under build/fuzz/epsg/ as crash-*, leak-* or
# oom-* files; replay one with: build/fuzz/fuzz/epsg_reader_fuzzer FILE
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-${TARNWELL_FUZZ_SECONDS:-60}}"
shift || true
"$top/scripts/build.sh" fuzz epsg_reader_fuzzer epsg_writer >/dev/null
build="$top/build/fuzz"
out="$build/epsg"
mkdir -p "$out/corpus" "$out/seeds"

# Seeds: every section holds records in all of them; texts empty, made up, real EPSG
# names (where proj.db is installed) and one of 40,000 bytes (a length with its top bit
# set); long sections, a long integer table and section-9 list.
w="$build/tests/tools/epsg_writer/epsg_writer"
"$w" "$out/seeds/smallest.dat" >/dev/null
"$w" "$out/seeds/texts.dat" --texts synthetic >/dev/null
"$w" "$out/seeds/counts.dat" --counts 2,1,0,3,1,1,2,0,2 --integer-count 3 --texts synthetic \
  >/dev/null
"$w" "$out/seeds/long_lists.dat" --counts 0,0,0,9,0,0,0,0,6 --integer-count 20 >/dev/null
"$w" "$out/seeds/long_text.dat" --counts 1,0,0,0,0,1,0,0,1 --long-text 40000 >/dev/null
"$w" "$out/seeds/epsg_names.dat" --counts 1,1,1,1,1,1,1,1,1 --texts epsg >/dev/null 2>&1 || true

cd "$out"
"$build/fuzz/epsg_reader_fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=131072 \
  -dict="$top/fuzz/epsg_reader/epsg.dict" -malloc_limit_mb=1 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$out/" "$@" corpus seeds
