#!/usr/bin/env bash
# The X11 window tests on private Xvfb servers: the in-process window tests and
# the program tests (X11ProgramTest) on a server without a window manager, with
# a 24-bit and a 16-bit screen, beside an 8-bit one and one a test ends; then
# the placement tests under openbox. Exits non-zero if any test fails.
#   scripts/x11-tests.sh BUILD_DIR
set -uo pipefail
me=x11-tests
. "$(dirname "$0")/lib.sh"

build="$(cd "${1:?usage: x11-tests.sh BUILD_DIR}" && pwd)"
halyard="$build/halyard"
tests="$build/tests/halyard_tests"
for f in "$halyard" "$build/tools/halyard-render" "$tests"; do
  [ -x "$f" ] || die "$f is missing; build it first"
done
export HALYARD_X11_TESTS=1 HALYARD_BINARY="$halyard" HALYARD_RENDER="$build/tools/halyard-render"
# The clock's test build (never installed) lets a test set its clock ahead.
[ -x "$build/tests/halyard-test-clock" ] && export HALYARD_TEST_CLOCK_BINARY="$build/tests/halyard-test-clock"

# Two servers of their own: an 8-bit palette screen, and one that a test ends under the clock.
xvfb -screen 0 640x480x8 || exit 1
export HALYARD_X11_PALETTE_DISPLAY=$xdisplay
xvfb || exit 1
export HALYARD_X11_DOOMED_DISPLAY=$xdisplay HALYARD_X11_DOOMED_PID=$xvfb_pid
xvfb -screen 0 1280x1024x24 -screen 1 800x600x16 || exit 1
check "window and program tests" env DISPLAY="$xdisplay" \
  "$tests" --gtest_filter='*X11ClockWindowTest.*:X11ProgramTest.*:*WindowImageTest.*'

# Where openbox frames and puts the window, on a 1280x1024 screen and an 800x480 one.
under_openbox() {
  local screen status=0
  xvfb -screen 0 1280x1024x24 -screen 1 800x480x24 || return 1
  window_manager "$xdisplay.0" && window_manager "$xdisplay.1" || return 1
  for screen in "$xdisplay.0" "$xdisplay.1"; do
    DISPLAY=$screen HALYARD_X11_WM=1 "$tests" --gtest_filter='X11WindowManagerTest.*' || status=1
  done
  return "$status"
}
check "placement under a window manager (openbox)" under_openbox

summary "$me"
