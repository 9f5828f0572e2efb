#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages a job needs, skipping those already present.
#   install-deps.sh demo   compiler and CMake: enough to build and run the demonstration
#   install-deps.sh test   everything the full test run uses (mingw-w64, Wine, clang, ERFA,
#                          chromium and the browser test's npm packages...)
set -euo pipefail
job=${1:-test}

native=(cmake ninja-build g++ make pkg-config libedit-dev libboost1.74-dev nlohmann-json3-dev)
testing=(libgtest-dev libgmock-dev libbenchmark-dev liberfa-dev clang libclang-rt-14-dev
         clang-format clang-format-16 g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools nsis
         libwine-dev xvfb xauth imagemagick indi-bin curl)
wine=(wine wine64 fonts-wine)
wine_i386=(wine32:i386)

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# A mirror that hiccups should not fail a whole run: three tries, a pause between them.
retry() {
  local attempt
  for attempt in 1 2 3; do
    "$@" && return 0
    [ "$attempt" = 3 ] && return 1
    echo "Retrying in 10 s: $*" >&2
    sleep 10
  done
}

install_missing() {
  local todo
  todo=$(missing "$@")
  [ -z "$todo" ] && return 0
  echo "Installing: $todo"
  if [ -z "${TRAMOX_APT_UPDATED:-}" ]; then
    # A mirror caught mid-sync fails one index (seen: the security archive's i386 list) while the
    # others are fine: install from what was fetched, and let the install say if a package is gone.
    retry as_root apt-get -o Acquire::Retries=3 update -qq ||
      echo "apt-get update reported errors; installing from the indexes it fetched" >&2
    export TRAMOX_APT_UPDATED=1
  fi
  # shellcheck disable=SC2086
  retry as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $todo
}

install_missing "${native[@]}"
if [ "$job" = test ]; then
  install_missing "${testing[@]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    unset TRAMOX_APT_UPDATED
  fi
  install_missing "${wine[@]}"
  # The 32-bit Wine needs the i386 archive in step with the amd64 one; a mirror caught mid-sync
  # cannot give it. Then only the 32-bit Wine run is skipped (it says so), not the whole run.
  install_missing "${wine_i386[@]}" ||
    echo "WARNING: wine32:i386 could not be installed; the 32-bit Wine tests will be skipped" >&2

  # The browser test: Debian's chromium, Node and npm (unless a Node with npm is already on
  # the machine), then the test's own packages, exactly as its lock file pins them.
  install_missing chromium
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    install_missing nodejs npm
  fi
  browser_tests="$(cd "$(dirname "$0")/../tests/browser" && pwd)"
  retry npm ci --prefix "$browser_tests" --no-audit --no-fund
fi
