#!/usr/bin/env bash
# Builds the EPSG definitions reader fuzzer (clang, libFuzzer with AddressSanitizer and
# UBSan) and runs it for a bounded time, seeded with valid files from the writer.
#   scripts/fuzz-epsg.sh [SECONDS]     (default 60)
# Exits non-zero on a crash, a leak, an allocation of 1 MB or more (inputs are at most
# 16 KB, so the reader may allocate only a small multiple of that) or a process above
# 1 GB. Inputs that fail are kept under build/fuzz-epsg/ as crash-*, leak-* or oom-*
# files; replay one with: build/fuzz-epsg/epsg_reader_fuzzer FILE
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
out="${TARNWELL_FUZZ_BUILD:-$top/build/fuzz-epsg}"
mkdir -p "$out/corpus" "$out/seeds"

reader=("$top"/src/epsg/*.cpp "$top/tools/epsg_writer/epsg_writer.cpp")
includes=(-I"$top/src" -I"$top/tools")

clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  "${includes[@]}" "$top/fuzz/epsg_reader/epsg_reader_fuzzer.cpp" "${reader[@]}" \
  -o "$out/epsg_reader_fuzzer"

# Seeds: valid files of several shapes, written by the writer tool.
clang++ -std=c++17 -O1 "${includes[@]}" "$top/tools/epsg_writer/main.cpp" \
  "$top/tools/epsg_writer/proj_db_names_missing.cpp" "${reader[@]}" -o "$out/epsg_writer"
w="$out/epsg_writer"
"$w" "$out/seeds/smallest.dat" >/dev/null
"$w" "$out/seeds/texts.dat" --texts synthetic >/dev/null
"$w" "$out/seeds/counts.dat" --counts 2,1,0,3,1,1,2,0,2 --integer-count 3 --texts synthetic \
  >/dev/null
"$w" "$out/seeds/long_lists.dat" --counts 0,0,0,9,0,0,0,0,6 --integer-count 20 >/dev/null

cd "$out"
./epsg_reader_fuzzer -max_total_time="$seconds" -timeout=10 -max_len=16384 \
  -malloc_limit_mb=1 -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$out/" \
  corpus seeds
