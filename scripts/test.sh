#!/usr/bin/env bash
# Sets up, builds and runs every test: native, sanitizers, Windows under Wine,
# the X11 window under Xvfb, the fuzzers, arm64 and armhf under qemu, and the
# clock under Wayland compositors. Exits non-zero if anything fails
# or if no test ran.
set -uo pipefail
cd "$(dirname "$0")/.."

me=test
. scripts/lib.sh
FUZZ_SECONDS="${HALYARD_FUZZ_SECONDS:-60}"
FULL_SPEED_SECONDS="${HALYARD_FULL_SPEED_SECONDS:-120}"
step() { echo "==== $1"; check "$@"; }

build() {  # preset [targets...]
  local preset="$1"; shift
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" ${1:+--target "$@"}
}

bash scripts/setup.sh || exit 1

step "layers and OS headers" bash scripts/check-structure.sh

step "linux build" build linux
step "linux unit tests" ctest --test-dir build/linux --output-on-failure --no-tests=error -j2
step "benchmarks (short run)" bash -c 'for b in build/linux/bench/halyard_bench*; do [ -x "$b" ] || continue; "$b" --benchmark_min_time=0.05 || exit 1; done'
step "soak: a million repaints" build/linux/bench/halyard-soak "${HALYARD_SOAK_CALLS:-1000000}"
step "asan build" build asan halyard_tests halyard-render halyard-options halyard halyard-test-clock
step "asan unit tests" env LSAN_OPTIONS=suppressions=$PWD/tests/lsan-suppressions.txt ctest --test-dir build/asan --output-on-failure --no-tests=error -j2
# Valgrind computes long double in double precision: the golden faces and the
# extended-precision checks, and the long replays, are left to the native runs.
step "valgrind memcheck" valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
  --suppressions=tests/valgrind.supp -q build/linux/tests/halyard_tests --gtest_brief=1 \
  '--gtest_filter=-Faces/FaceGolden*:*IncrementalRepaint*:*FaceDigest*:Extended80.*:DialAngles.*'
step "x11 window tests (Xvfb)" bash scripts/x11-tests.sh build/linux
# The same under ASan: a leak at exit (after Escape, the close box, SIGTERM or
# SIGINT) turns the program's exit status non-zero, so the tests see it.
step "x11 window tests under ASan" env LSAN_OPTIONS=suppressions=$PWD/tests/lsan-suppressions.txt \
  bash scripts/x11-tests.sh build/asan
step "windows build" build windows
# The window and program tests run in the next step, on their own screen.
step "windows unit tests (Wine)" bash scripts/wine-tests.sh build/windows "--gtest_filter=-WinClock*:WinProgram*"
step "windows program tests (Wine)" bash scripts/win32-tests.sh build/windows
step "windows program at full speed (Wine, ${FULL_SPEED_SECONDS}s)" bash scripts/win32-tests.sh build/windows --full-speed "$FULL_SPEED_SECONDS"
step "fuzzing (${FUZZ_SECONDS}s each)" bash scripts/fuzz.sh "$FUZZ_SECONDS"

step "packages (.deb and .zip)" bash scripts/package-tests.sh

# arm64 and armhf, built by the package step and run here under qemu: the unit
# tests, halyard-render's golden pictures byte for byte, and the arm64 clock
# on Xvfb against the native X11 test. Then the clock under Wayland compositors.
cross() { build "linux-$1" && ctest --test-dir "build/linux-$1" --output-on-failure --no-tests=error -j2; }
step "arm64: unit tests and golden pictures (qemu)" cross arm64
step "armhf: unit tests and golden pictures (qemu)" cross armhf
step "arm64: the clock on Xvfb shows halyard-render's picture (qemu)" env HALYARD_X11_TESTS=1 \
  HALYARD_BINARY="$PWD/build/linux-arm64/emulated/halyard" HALYARD_RENDER="$PWD/build/linux-arm64/emulated/halyard-render" \
  xvfb-run -a -n 91 -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
  build/linux/tests/halyard_tests --gtest_filter=X11ProgramTest.WindowPropertiesScreenAndEscape
step "Wayland: the clock stays on top under Mutter and KWin" bash scripts/wayland-tests.sh build/linux

echo
for f in "${failures[@]}"; do echo "failed: $f"; done
summary "Test steps"
