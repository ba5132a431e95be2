#!/usr/bin/env bash
# Installs what building, running and testing HALYARD needs on Debian 12.
# Safe to run again: only missing packages are fetched.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libxext-dev libxrandr-dev libfreetype-dev libfontconfig-dev libpng-dev libhowardhinnant-date-dev
  fonts-liberation fontconfig
  clang libclang-rt-14-dev valgrind
  mingw-w64 g++-mingw-w64-x86-64-posix wine wine64
  xvfb x11-utils xdotool imagemagick x11-apps openbox wmctrl
  file groff-base mandoc lintian appstream
  chrony faketime
)

# --- arm64 and armhf (Raspberry Pi): cross compilers, those machines' -dev
# libraries beside this one's (multiarch), qemu to run what they build; and
# the Wayland sessions of GNOME (Mutter) and KDE (KWin), with the D-Bus,
# PipeWire and GStreamer pieces the on-top test's screenshots need.
for arch in arm64 armhf; do
  if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    if [ "$(id -u)" -eq 0 ]; then dpkg --add-architecture "$arch"; else sudo dpkg --add-architecture "$arch"; fi
  fi
  PACKAGES+=("crossbuild-essential-$arch" "libstdc++6:$arch")
  for dev in libx11-dev libxext-dev libxrandr-dev libfreetype-dev libfontconfig-dev libpng-dev libhowardhinnant-date-dev; do
    PACKAGES+=("$dev:$arch")
  done
done
PACKAGES+=(qemu-user-static xauth mutter xwayland kwin-wayland dbus-bin dbus-daemon python3-gi
  pipewire wireplumber gstreamer1.0-tools gstreamer1.0-pipewire gstreamer1.0-plugins-base gstreamer1.0-plugins-good)
# --- end of arm64, armhf and Wayland

# Each package not installed, by name.
mapfile -t missing < <(LC_ALL=C dpkg-query -W -f='${Status} ${binary:Package}\n' "${PACKAGES[@]}" 2>&1 |
  awk '/^dpkg-query: no packages found matching / { print $NF; next } $3 != "installed" { print $NF }')
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
