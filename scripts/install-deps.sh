#!/usr/bin/env bash
# Installs everything Trelvanic needs on Debian 12: build tools, Qt 6, the
# libraries the program links, the decoder and peers used by tests and
# benchmarks, and the tools of the end-to-end check. Installs only what is
# missing and says nothing when all is there.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # the program
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libzip-dev
  fonts-noto-cjk
  # tests: independent decoder, end-to-end document check, headless display
  libzxing-dev python3-zxing-cpp
  libreoffice-writer-nogui poppler-utils xvfb xauth
  # benchmark peer
  libzint-dev valgrind
  # fuzzing and the Windows cross build of the COM layer
  clang libclang-rt-14-dev g++-mingw-w64-x86-64
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
