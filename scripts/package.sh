#!/usr/bin/env bash
# Builds the release packages into out/packages/: the Linux .deb from a release
# build in build/pkg-linux, the Windows .zip from a MinGW build in
# build/pkg-windows. Those build folders are this script's own, so the
# developer builds (build/linux, build/windows) keep their test settings.
# Usage: scripts/package.sh [linux] [windows]     (default: both)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
out="$root/out/packages"
jobs="${HALYARD_PACKAGE_JOBS:-2}"

kinds=("$@")
[ "${#kinds[@]}" -gt 0 ] || kinds=(linux windows)
for kind in "${kinds[@]}"; do
  case "$kind" in
    linux|windows) ;;
    *) echo "usage: $0 [linux] [windows]" >&2; exit 2 ;;
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
hardened_flags() {
  local cppflags cxxflags cflags ldflags
  export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
  cppflags="$(dpkg-buildflags --get CPPFLAGS)"
  cflags="$(dpkg-buildflags --get CFLAGS)"
  cxxflags="$(dpkg-buildflags --get CXXFLAGS)"
  ldflags="$(dpkg-buildflags --get LDFLAGS)"
  echo "-DCMAKE_C_FLAGS=$cppflags $cflags"
  echo "-DCMAKE_CXX_FLAGS=$cppflags $cxxflags"
  echo "-DCMAKE_EXE_LINKER_FLAGS=$ldflags"
}

for kind in "${kinds[@]}"; do
  case "$kind" in
    linux)
      mapfile -t flags < <(hardened_flags)
      build "$root/build/pkg-linux" DEB 'halyard_*.deb' -DHALYARD_BENCH=OFF "${flags[@]}" ;;
    windows)
      build "$root/build/pkg-windows" ZIP 'halyard-*-win64.zip' \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" ;;
  esac
done
