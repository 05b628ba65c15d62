#!/usr/bin/env bash
# The release zip is the same, byte for byte, when a clean copy of the same sources is
# packaged again: in a folder of another name and depth, a minute or more later, with
# another umask and time zone. Only what the zip holds is built the second time.
#   rebuild_release.sh [win32|win64]   (default win32, the product)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
arch="${1:-win32}"
# Both packages take their entries' time from the same commit; a copy holds no history.
SOURCE_DATE_EPOCH="$(git -C "$top" log -1 --format=%ct)"
export SOURCE_DATE_EPOCH

first=$("$top/scripts/package.sh" "$arch" | tail -n1)

scratch="$top/build/rebuild-check"
rm -rf "$scratch"  # left behind by a run that was killed
trap 'rm -rf "$scratch"' EXIT
copy="$scratch/another/clone of the sources"
mkdir -p "$copy"
# The tracked files as the working tree has them, which is what a clean clone of the
# commit under test holds.
(cd "$top" && git ls-files -z | tar --null -T - --ignore-failed-read -cf -) | tar -xf - -C "$copy"
second=$(cd "$scratch" && umask 0077 && TZ=Pacific/Kiritimati "$copy/scripts/package.sh" "$arch" \
           | tail -n1)

if ! cmp -s "$first" "$second"; then
  kept="$top/build/$arch/rebuilt-$(basename "$second")"
  cp "$second" "$kept"
  echo "FAIL: packaged again, the zip differs: $kept" >&2
  mkdir "$scratch/a" "$scratch/b"
  unzip -q "$first" -d "$scratch/a"
  unzip -q "$second" -d "$scratch/b"
  diff -r "$scratch/a" "$scratch/b" >&2 || true
  zipinfo -l "$first" | diff - <(zipinfo -l "$second") >&2 || true
  exit 1
fi
echo "rebuilt: the same zip ($(sha256sum "$first" | cut -c1-16)…), $(basename "$first")"
