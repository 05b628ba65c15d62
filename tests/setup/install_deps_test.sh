#!/usr/bin/env bash
# The set-up's decisions, with apt-get, dpkg, dpkg-query and the 32-bit probe replaced
# by stubs: what it asks apt for and how it exits, machine by machine.
set -uo pipefail
script="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/install-deps.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

make_stubs() {
  local bin="$1"
  mkdir -p "$bin"
  # State in $STUB: installed (one package a line, "*" for all), uninstallable,
  # update_fails, runs32, arch; every apt-get and dpkg call is logged to calls.
  cat >"$bin/dpkg-query" <<'STUB'
#!/bin/sh
for last; do :; done
if grep -qxF -e "$last" -e '*' "$STUB/installed"; then echo "install ok installed"; fi
STUB
  cat >"$bin/dpkg" <<'STUB'
#!/bin/sh
echo "dpkg $*" >>"$STUB/calls"
case "$1" in
  --print-foreign-architectures) cat "$STUB/arch" ;;
  --add-architecture) echo "$2" >>"$STUB/arch" ;;
esac
STUB
  cat >"$bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >>"$STUB/calls"
case "$*" in
  update*)
    if [ -e "$STUB/update_fails" ]; then
      echo "E: Failed to fetch http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
      exit 100
    fi ;;
  install*)
    for p; do
      if grep -qxF "$p" "$STUB/uninstallable"; then
        echo "E: Unable to correct problems, you have held broken packages."; exit 100
      fi
    done
    for p; do case "$p" in -*|install) ;; *) echo "$p" >>"$STUB/installed" ;; esac; done ;;
esac
STUB
  printf '#!/bin/sh\necho 0\n' >"$bin/id"
  printf '#!/bin/sh\n[ "$(cat "$STUB/runs32")" = yes ]\n' >"$bin/probe32"
  chmod +x "$bin"/*
}
make_stubs "$work/bin"

# name | runs 32-bit code | installed at the start | uninstallable | index fails |
# exit | what must be in the calls and the output | what must not
cases=(
  "everything installed|yes|*|||0||apt-get"
  "fresh machine|yes||||0|dpkg --add-architecture i386;install -y -q --no-install-recommends cmake make;install -y -q --no-install-recommends wine32:i386|could not"
  "index fails|yes||||0|update -q;going on without it: http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz;wine32:i386|Cannot install"
  "wine32 cannot be installed|yes||wine32:i386||0|wine32:i386 could not be installed (Unable to correct problems, you have held broken packages.): the Wine tests will run the 64-bit build|Cannot install"
  "no 32-bit code|no||||0|install -y -q --no-install-recommends cmake make|wine32;add-architecture"
  "an essential package cannot be installed|no||osslsigncode||1|Cannot install osslsigncode, which the build;install -y -q --no-install-recommends openssl|wine32"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name runs32 installed uninstallable index_fails want_exit want dont <<<"$row"
  export STUB="$work/$name"
  mkdir -p "$STUB"
  echo "$runs32" >"$STUB/runs32"
  printf '%s\n' "$installed" >"$STUB/installed"
  printf '%s\n' "$uninstallable" >"$STUB/uninstallable"
  : >"$STUB/arch"; : >"$STUB/calls"
  [ "$name" = "index fails" ] && touch "$STUB/update_fails"
  PATH="$work/bin:$PATH" TARNWELL_32BIT_PROBE="$work/bin/probe32" TARNWELL_APT_RETRY_WAIT=0 \
    "$script" >"$STUB/out" 2>&1
  got_exit=$?
  seen="$(cat "$STUB/calls" "$STUB/out")"
  problems=()
  [ "$got_exit" = "$want_exit" ] || problems+=("exit $got_exit, wanted $want_exit")
  IFS=';' read -ra wanted <<<"$want"
  for text in "${wanted[@]}"; do
    grep -qF -- "$text" <<<"$seen" || problems+=("missing: $text")
  done
  IFS=';' read -ra unwanted <<<"$dont"
  for text in "${unwanted[@]}"; do
    ! grep -qF -- "$text" <<<"$seen" || problems+=("unexpected: $text")
  done
  [ "$name" != "index fails" ] || [ "$(grep -c 'apt-get update' "$STUB/calls")" = 2 ] ||
    problems+=("apt-get update not retried once")
  if [ ${#problems[@]} -eq 0 ]; then
    echo "ok: $name"
  else
    failures=$((failures + 1))
    echo "FAIL: $name: ${problems[*]}"; echo "$seen" | sed 's/^/    /'
  fi
done
[ "$failures" = 0 ]
