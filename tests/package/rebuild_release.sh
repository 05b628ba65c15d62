#!/usr/bin/env bash
# The release zip and the .msi beside it are the same, byte for byte, when a clean copy
# of the same sources is packaged again: in a folder of another name and depth, a
# minute or more later, with another umask and time zone. Only what the zip holds is
# built the second time.
#   rebuild_release.sh [win32|win64]   (default win32, the product)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
arch="${1:-win32}"
# Both packages take their entries' time from the same commit; a copy holds no history.
SOURCE_DATE_EPOCH="$(git -C "$top" log -1 --format=%ct)"
export SOURCE_DATE_EPOCH

# package.sh names the .msi, then the zip, on its last two lines.
first_out=$("$top/scripts/package.sh" "$arch" | tail -n2)
first=$(tail -n1 <<<"$first_out")
first_msi=$(head -n1 <<<"$first_out")

scratch="$top/build/rebuild-check"
rm -rf "$scratch"  # left behind by a run that was killed
trap 'rm -rf "$scratch"' EXIT
copy="$scratch/another/clone of the sources"
mkdir -p "$copy"
# The tracked files as the working tree has them, which is what a clean clone of the
# commit under test holds.
(cd "$top" && git ls-files -z | tar --null -T - --ignore-failed-read -cf -) | tar -xf - -C "$copy"
second_out=$(cd "$scratch" && umask 0077 && TZ=Pacific/Kiritimati "$copy/scripts/package.sh" "$arch" \
               | tail -n2)
second=$(tail -n1 <<<"$second_out")
second_msi=$(head -n1 <<<"$second_out")

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
if ! cmp -s "$first_msi" "$second_msi"; then
  kept="$top/build/$arch/rebuilt-$(basename "$second_msi")"
  cp "$second_msi" "$kept"
  echo "FAIL: packaged again, the .msi differs: $kept" >&2
  msiinfo suminfo "$first_msi" | diff - <(msiinfo suminfo "$second_msi") >&2 || true
  mkdir "$scratch/msi-a" "$scratch/msi-b"
  msiextract -C "$scratch/msi-a" "$first_msi" >/dev/null
  msiextract -C "$scratch/msi-b" "$second_msi" >/dev/null
  diff -r "$scratch/msi-a" "$scratch/msi-b" >&2 || true
  exit 1
fi
echo "rebuilt: the same .msi ($(sha256sum "$first_msi" | cut -c1-16)…), $(basename "$first_msi")"
echo "rebuilt: the same zip ($(sha256sum "$first" | cut -c1-16)…), $(basename "$first")"
