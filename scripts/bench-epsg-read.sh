#!/usr/bin/env bash
# Definitions reader benchmark: writes a definitions file of about 110 MB whose texts
# are the EPSG names from proj.db (Debian package proj-data, installed here when
# missing), then prints the reader's MB/s next to the MB/s of one read call of the
# same file, medians of RUNS runs each.
#   scripts/bench-epsg-read.sh [RUNS]     (default 9)
# Without proj.db or SQLite the texts are made up, and the script says so.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-9}"
build="${TARNWELL_BENCH_BUILD:-$top/build/host}"
proj_db=/usr/share/proj/proj.db

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target epsg_read_bench epsg_writer -j "$(nproc)" >/dev/null

if [ ! -f "$proj_db" ] && [ "$(id -u)" = 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends proj-data \
    >/dev/null 2>&1 || true
fi
file="$build/bench/epsg_read/definitions-110mb.dat"
if ! "$build/tools/epsg_writer/epsg_writer" "$file" --size-mb 110 --texts epsg \
     --proj-db "$proj_db"; then
  echo "NOTE: no EPSG names (see above); the file's texts are made up" >&2
  "$build/tools/epsg_writer/epsg_writer" "$file" --size-mb 110 --texts synthetic
fi
"$build/bench/epsg_read/epsg_read_bench" "$file" "$runs"
