#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Idempotent: when everything is
# already there it changes nothing and uses no network.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git python3 ccache
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 mingw-w64-tools
  wine64
  libcairo2-dev fonts-dseg fonts-liberation2
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libcpp-httplib-dev
  clang libclang-rt-14-dev valgrind
  chromium nodejs zlib1g-dev
)

# 32-bit Wine runs the product itself (build/win32), where the kernel runs 32-bit programs. The two
# are named together so that the resolver finds a matching set (with -t bookworm it does not).
wine32=()
if "$(dirname "$0")/runs_i386.sh"; then
  wine32=(wine32:i386 libwine:i386)
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
missing32=()
for p in "${wine32[@]}"; do
  installed "$p" || { missing32=("${wine32[@]}"); break; }
done

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive

if [ ${#missing[@]} -gt 0 ] || [ ${#missing32[@]} -gt 0 ]; then
  all=("${missing[@]}" "${missing32[@]}")
  echo "setup: installing ${all[*]}"
  if [ ${#missing32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  if [ ${#missing[@]} -gt 0 ] && ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
    # The package index can be out of step with the release; the release's own set installs.
    $SUDO apt-get install -y -qq --no-install-recommends -t bookworm "${missing[@]}"
  fi
  if [ ${#missing32[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${missing32[@]}"
  fi
fi

# The browser tests' driver, playwright-core from npm, pinned by its lock file. It drives the
# system's Chromium (/usr/bin/chromium) and downloads no browser of its own.
browser_tests="$(cd "$(dirname "$0")/.." && pwd)/tests/browser"
if [ ! -d "$browser_tests/node_modules/playwright-core" ]; then
  if ! command -v npm >/dev/null; then
    $SUDO apt-get install -y -qq --no-install-recommends npm
  fi
  echo "setup: installing the browser tests' driver (npm ci in tests/browser)"
  (cd "$browser_tests" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
