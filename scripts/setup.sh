#!/usr/bin/env bash
# Installs what building, running and testing HALYARD needs on Debian 12.
# Safe to run again: only missing packages are fetched.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libxext-dev libxrandr-dev libfreetype-dev libfontconfig-dev libpng-dev
  fonts-liberation fontconfig
  clang libclang-rt-14-dev valgrind
  mingw-w64 g++-mingw-w64-x86-64-posix wine wine64
  xvfb x11-utils xdotool imagemagick x11-apps openbox wmctrl
  file groff-base mandoc lintian appstream
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
