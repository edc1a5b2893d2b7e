#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Idempotent: when everything is
# already there it changes nothing and uses no network.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git python3
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 mingw-w64-tools
  wine64
  libcairo2-dev fonts-dseg fonts-liberation2
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libcpp-httplib-dev
  clang libclang-rt-14-dev valgrind
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  # The package index can be out of step with the release; the release's own set installs.
  $SUDO apt-get install -y -qq --no-install-recommends -t bookworm "${missing[@]}"
fi
