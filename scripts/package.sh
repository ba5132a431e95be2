#!/usr/bin/env bash
# Builds the release packages into out/packages/: the .deb from a release build
# in build/pkg-linux, the .zip from one in build/pkg-windows (this script's own
# folders: the developer builds keep their test settings), the arm64 and armhf
# .debs from the cross builds of the presets linux-arm64 and linux-armhf, whose
# tests under qemu then need no build of their own.
# Usage: scripts/package.sh [linux] [windows] [arm64] [armhf]     (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
out="$root/out/packages"
jobs="${HALYARD_PACKAGE_JOBS:-2}"

kinds=("$@")
[ "${#kinds[@]}" -gt 0 ] || kinds=(linux windows arm64 armhf)
for kind in "${kinds[@]}"; do
  case "$kind" in
    linux|windows|arm64|armhf) ;;
    *) echo "usage: $0 [linux] [windows] [arm64] [armhf]" >&2; exit 2 ;;
  esac
done

mkdir -p "$out"

# build DIR GENERATOR PATTERN [cmake arguments...]: configure, build, run CPack
# into DIR/cpack, and copy the one package matching PATTERN to out/packages.
build() {
  local dir="$1" generator="$2" pattern="$3"; shift 3
  echo "package: configuring $dir" >&2
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALYARD_TESTS=OFF "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  rm -rf "$dir/cpack"
  (cd "$dir" && cpack -G "$generator" -B "$dir/cpack")
  local made=("$dir"/cpack/$pattern)
  if [ "${#made[@]}" -ne 1 ] || [ ! -f "${made[0]}" ]; then
    echo "package: expected one $pattern in $dir/cpack, found: ${made[*]}" >&2
    return 1
  fi
  # Packages of an earlier version must not linger beside the new one.
  rm -f "$out"/$pattern
  cp "${made[0]}" "$out/"
  echo "package: wrote $out/$(basename "${made[0]}")"
}

# Debian's hardening flags for the .deb's programs: stack protector, fortified
# libc calls, read-only relocations bound at start (bindnow), position-independent.
# hardened_flags [DEBIAN-ARCHITECTURE]: for another machine than this one.
hardened_flags() {
  export DEB_BUILD_MAINT_OPTIONS="hardening=+all" DEB_HOST_ARCH="${1:-$(dpkg --print-architecture)}"
  echo "-DCMAKE_C_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)"
  echo "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
  echo "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
  echo "-DCMAKE_MODULE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
}

for kind in "${kinds[@]}"; do
  case "$kind" in
    linux)
      mapfile -t flags < <(hardened_flags)
      build "$root/build/pkg-linux" DEB "halyard_*_$(dpkg --print-architecture).deb" -DHALYARD_BENCH=OFF "${flags[@]}" ;;
    arm64|armhf)
      mapfile -t flags < <(hardened_flags "$kind")
      toolchain=aarch64-linux-gnu
      [ "$kind" = armhf ] && toolchain=arm-linux-gnueabihf
      DEB_HOST_ARCH="$kind" build "$root/build/linux-$kind" DEB "halyard_*_$kind.deb" -DHALYARD_TESTS=ON \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" "${flags[@]}" ;;
    windows)
      build "$root/build/pkg-windows" ZIP 'halyard-*-win64.zip' \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" ;;
  esac
done
