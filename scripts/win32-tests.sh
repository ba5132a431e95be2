#!/usr/bin/env bash
# Tests the Windows clock under Wine on a private, headless X display.
#   scripts/win32-tests.sh BUILD_DIR [--full-speed SECONDS]
# 1. BUILD_DIR/tests/halyard_tests.exe: the window tests (the real dialog,
#    controls and GDI, driven with synthetic events) and the program tests,
#    which start halyard.exe and halyard-options.exe and look at them from
#    outside ($HALYARD_WIN32_FILTER chooses them; default WinClock*:WinProgram*).
# 2. Keys through the X server, as a user's: Escape and Alt+F4 each end a
#    fresh clock with exit code 0; the X side shows its icons and its face.
# With --full-speed, only the program test that runs tests/halyard-full-speed.exe
# for SECONDS. Logs go to BUILD_DIR/win32-tests/. Exits 1 on a failed check,
# 2 when something is missing.
set -uo pipefail
me=win32-tests
. "$(dirname "$0")/lib.sh"

usage="usage: $0 BUILD_DIR [--full-speed SECONDS]"
build_dir=$(cd "${1:-}" 2>/dev/null && pwd) || die "$usage"
full_speed=""
if [ $# -gt 1 ]; then
  [ $# -eq 3 ] && [ "$2" = --full-speed ] && [[ "$3" =~ ^[0-9]+$ ]] && (($3 >= 20)) || die "$usage (20 s at least)"
  full_speed=$3
fi
tests_exe="$build_dir/tests/halyard_tests.exe"
clock_exe="$build_dir/halyard.exe"
[ -f "$clock_exe" ] || die "$clock_exe not found; build the halyard target"
[ -f "$tests_exe" ] || die "$tests_exe not found; build the halyard_tests target"
need xdotool xprop import
# Room for the window at 192 dpi and at scale 2, frame included.
wine_session "$build_dir" wineprefix-win32 1600x1200
out="$build_dir/win32-tests"
mkdir -p "$out" "$work/app"
on_exit 'cp "$work"/*.log "$out/" 2>/dev/null'
# The clock runs from a folder of its own, so no options file sits beside it.
cp "$clock_exe" "$work/app/halyard.exe"

clock_pid=""
on_exit 'stop $clock_pid'
start_clock() {
  "$wine" "$work/app/halyard.exe" </dev/null >>"$work/clock.log" 2>&1 &
  clock_pid=$!
}
clock_gone() { ! kill -0 "$clock_pid" 2>/dev/null; }
end_clock() {  # waits up to $1 seconds for the clock to end; its exit status in $status
  if poll "$1" clock_gone; then wait "$clock_pid"; status=$?; else stop "$clock_pid"; status="still running"; fi
}
x_window() { timeout "$1" xdotool search --sync --onlyvisible --name '^HALYARD$' 2>/dev/null | head -1; }
x_icons() {
  local icons
  icons=$(xprop -id "$1" _NET_WM_ICON 2>/dev/null | grep -o 'Icon ([0-9]* x [0-9]*)')
  [[ "$icons" == *"32 x 32"* && "$icons" == *"16 x 16"* ]]
}
# x_end KEY: the X server shows the running clock's face (the middle of its
# window: dial, hands, sectors), then KEY, as a user's, ends it with exit code 0.
x_end() {
  local xid
  xid=$(x_window 120)
  sleep 1  # the first paint reaches the X server
  check "the X screen shows the face" eval '(($(import -window "$xid" -gravity center -crop 50%x50%+0+0 -format %k info: || echo 0) > 2))'
  [ -n "$xid" ] && xdotool windowfocus --sync "$xid" key "$1"
  end_clock 60
  check "$1 ends the clock with exit code 0 ($status)" test "$status" = 0 -a -z "$(x_window 1)"
}

# --- 1. the window and program tests inside halyard_tests.exe ---
[ -z "$full_speed" ] || export HALYARD_FULL_SPEED_SECONDS=$full_speed HALYARD_WIN32_FILTER=WinProgramTest.AtFullSpeed*
unit_tests() {
  HALYARD_BINARY="Z:$clock_exe" timeout 1800 "$wine" "$tests_exe" \
    --gtest_filter="${HALYARD_WIN32_FILTER:-WinClock*:WinProgram*}" </dev/null 2>&1 | tr -d '\r' | tee "$out/unit${full_speed:+-full-speed}.log" |
    grep -E '^\[ *(RUN|OK|FAILED|PASSED) *\]|Failure|Expected|Which is|actual|info'
  return "${PIPESTATUS[0]}"
}
check "window and program tests in halyard_tests.exe (log: $out/unit${full_speed:+-full-speed}.log)" unit_tests
[ -z "$full_speed" ] || { summary "$me (full speed)"; exit; }

# --- 2. keys through the X server ---
start_clock
check "the X side has the 16 and 32 pixel icons" x_icons "$(x_window 120)"
x_end Escape
start_clock
x_end alt+F4

summary "$me"
