#!/usr/bin/env bash
# Runs the X11 window tests against a private Xvfb server (no window manager):
# the in-process window tests, the program tests (properties, geometry at 96
# and 144 dpi and at scale 2, screen against halyard-render, Escape, close
# box, signals), and the two ways the program meets a missing X server; then
# the placement tests on a second server with openbox.
#   scripts/x11-tests.sh BUILD_DIR
# Exits non-zero if any test fails. With HALYARD_MEASURE_SECONDS=N it also
# runs the clock beside `xclock -update 1` for N seconds and prints the CPU
# time, wake-ups (voluntary context switches) per second and resident memory
# of each.
set -uo pipefail

build="${1:?usage: x11-tests.sh BUILD_DIR}"
build="$(cd "$build" && pwd)"
halyard="$build/halyard"
render="$build/tools/halyard-render"
tests="$build/tests/halyard_tests"
for f in "$halyard" "$render" "$tests"; do
  [ -x "$f" ] || { echo "x11-tests: $f is missing; build it first" >&2; exit 1; }
done
command -v Xvfb >/dev/null || { echo "x11-tests: Xvfb is not installed (scripts/setup.sh)" >&2; exit 1; }

servers=()
cleanup() {
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
}
trap cleanup EXIT

# Starts Xvfb on the first free display number; prints "NUMBER PID". Screens:
# by default a 24-bit and a 16-bit one; an argument gives others.
start_xvfb() {
  local n screens=("$@")
  [ "${#screens[@]}" -gt 0 ] || screens=(-screen 0 1280x1024x24 -screen 1 800x600x16)
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # A second screen of 16 bits a pixel exercises the converting upload.
    Xvfb ":$n" "${screens[@]}" -nolisten tcp -noreset >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 100); do
      if [ -e "/tmp/.X11-unix/X$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        echo "$n $pid"; return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
  done
  return 1
}

failed=0
check() {  # name, then the command that must succeed
  local name="$1"; shift
  if "$@"; then echo "x11-tests: ok: $name"; else echo "x11-tests: FAILED: $name"; failed=$((failed + 1)); fi
}

read -r number pid < <(start_xvfb) || { echo "x11-tests: cannot start Xvfb" >&2; exit 1; }
servers+=("$pid")
export DISPLAY=":$number"
echo "x11-tests: Xvfb on $DISPLAY"

# The clock's test build (never installed) lets a test set its clock ahead.
test_clock="$build/tests/halyard-test-clock"
[ -x "$test_clock" ] || test_clock=""
check "window and program tests" env HALYARD_X11_TESTS=1 HALYARD_BINARY="$halyard" HALYARD_RENDER="$render" \
  HALYARD_TEST_CLOCK_BINARY="$test_clock" \
  "$tests" --gtest_filter='*X11ClockWindowTest.*:X11ProgramTest.*:*WindowImageTest.*'

# Under a window manager: openbox on a 1280x1024 screen and on an 800x480 one
# (each screen of the server has its own), for where it frames and puts the window.
with_window_manager() {
  local n p wm0 wm1 status=0
  command -v openbox >/dev/null || { echo "x11-tests: openbox is not installed (scripts/setup.sh)" >&2; return 1; }
  read -r n p < <(start_xvfb -screen 0 1280x1024x24 -screen 1 800x480x24) || return 1
  servers+=("$p")
  DISPLAY=":$n.0" openbox >/dev/null 2>&1 & wm0=$!
  DISPLAY=":$n.1" openbox >/dev/null 2>&1 & wm1=$!
  for screen in 0 1; do  # until openbox has taken each screen
    for _ in $(seq 100); do DISPLAY=":$n.$screen" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done
  done
  for screen in 0 1; do
    env DISPLAY=":$n.$screen" HALYARD_X11_TESTS=1 HALYARD_X11_WM=1 HALYARD_BINARY="$halyard" \
      "$tests" --gtest_filter='X11WindowManagerTest.*' || status=1
  done
  kill "$wm0" "$wm1" 2>/dev/null; wait "$wm0" "$wm1" 2>/dev/null
  return "$status"
}
check "placement under a window manager (openbox)" with_window_manager

no_display() {
  local out status
  out="$(env -u DISPLAY "$halyard" 2>&1 >/dev/null)"; status=$?
  [ "$status" -eq 1 ] && [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] && [ -n "$out" ] || return 1
  out="$(DISPLAY=:4242 "$halyard" 2>&1 >/dev/null)"; status=$?
  [ "$status" -eq 1 ] && [ "$out" = "halyard: cannot open display ':4242'" ]
}
check "no display: one line on stderr naming it, status 1" no_display

server_lost() {
  local n p clock status
  read -r n p < <(start_xvfb) || return 1
  DISPLAY=":$n" "$halyard" 2>/dev/null &
  clock=$!
  sleep 1
  kill "$p"; wait "$p" 2>/dev/null
  for _ in $(seq 100); do kill -0 "$clock" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$clock" 2>/dev/null && { kill -9 "$clock"; return 1; }
  wait "$clock"; status=$?
  [ "$status" -eq 1 ]
}
check "X server lost: status 1" server_lost

# An 8-bit palette screen: the clock takes a TrueColor visual of its own and
# shows the face, never an all-black window.
palette_screen() {
  local n p clock id colours ok=1
  read -r n p < <(start_xvfb -screen 0 640x480x8) || return 1
  DISPLAY=":$n" "$halyard" 2>/dev/null &
  clock=$!
  for _ in $(seq 100); do id=$(DISPLAY=":$n" xdotool search --name '^HALYARD$' 2>/dev/null | head -1); [ -n "$id" ] && break; sleep 0.05; done
  sleep 0.5
  if [ -n "$id" ] && DISPLAY=":$n" xwininfo -id "$id" | grep -q 'Visual Class: TrueColor'; then
    colours=$(DISPLAY=":$n" import -window "$id" -format '%k' info: 2>/dev/null)
    [ "${colours:-0}" -ge 4 ] && ok=0
  fi
  kill "$clock" 2>/dev/null; wait "$clock" 2>/dev/null
  kill "$p"; wait "$p" 2>/dev/null
  return "$ok"
}
check "8-bit palette screen: a TrueColor window showing the face" palette_screen

# CPU seconds (user + system) of a process, from /proc.
cpu_seconds() { awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$1/stat"; }
status_field() { awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status"; }

measure() {
  local seconds="$1" name pid start_cs end_cs
  local -A pids=()
  "$halyard" & pids[halyard]=$!
  if command -v xclock >/dev/null; then xclock -update 1 & pids[xclock]=$!; fi
  sleep 2  # past start-up
  declare -A cs0
  for name in "${!pids[@]}"; do cs0[$name]=$(status_field "${pids[$name]}" voluntary_ctxt_switches); done
  declare -A cpu0
  for name in "${!pids[@]}"; do cpu0[$name]=$(cpu_seconds "${pids[$name]}"); done
  sleep "$seconds"
  printf '%-8s %12s %14s %10s\n' program "cpu s/${seconds}s" "wake-ups/s" "RSS kB"
  for name in "${!pids[@]}"; do
    pid=${pids[$name]}
    end_cs=$(status_field "$pid" voluntary_ctxt_switches)
    printf '%-8s %12s %14s %10s\n' "$name" \
      "$(awk -v a="${cpu0[$name]}" -v b="$(cpu_seconds "$pid")" 'BEGIN { printf "%.2f", b - a }')" \
      "$(awk -v a="${cs0[$name]}" -v b="$end_cs" -v s="$seconds" 'BEGIN { printf "%.1f", (b - a) / s }')" \
      "$(status_field "$pid" VmRSS)"
    kill "$pid"; wait "$pid" 2>/dev/null
  done
}
if [ -n "${HALYARD_MEASURE_SECONDS:-}" ]; then measure "$HALYARD_MEASURE_SECONDS"; fi

if [ "$failed" -eq 0 ]; then echo "x11-tests: all passed"; else echo "x11-tests: $failed failed"; fi
[ "$failed" -eq 0 ]
