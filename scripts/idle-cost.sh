#!/usr/bin/env bash
# What the running clock costs while idle, beside `xclock -update 1`, on a
# private Xvfb server: CPU time (from the scheduler's nanosecond count),
# voluntary context switches (wake-ups) per second, and resident memory.
#   scripts/idle-cost.sh BUILD_DIR [SECONDS [RUNS [OTHER_BUILD_DIR]]]
#                                         (defaults: 60 s, 3 runs)
# Prints one line per program and run, then the median and range of the CPU
# ratio halyard / xclock over the runs. With OTHER_BUILD_DIR that build's clock
# runs beside the first on the same server, so two builds are compared under
# the same conditions: on a busy machine the ratio moves more from minute to
# minute than between builds.
set -uo pipefail

usage="usage: idle-cost.sh BUILD_DIR [SECONDS [RUNS [OTHER_BUILD_DIR]]]"
seconds="${2:-60}"
runs="${3:-3}"
clocks=()
for build in "${1:?$usage}" ${4:+"$4"}; do
  clock="$(cd "$build" 2>/dev/null && pwd)/halyard"
  [ -x "$clock" ] || { echo "idle-cost: $build/halyard is missing; build it first" >&2; exit 1; }
  clocks+=("$clock")
done
for tool in Xvfb xdpyinfo xclock; do
  command -v "$tool" >/dev/null || { echo "idle-cost: $tool is not installed (scripts/setup.sh)" >&2; exit 1; }
done

server=""
cleanup() { [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null; }
trap cleanup EXIT
for n in $(seq 150 190); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 100); do
    DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break 2
    sleep 0.05
  done
  kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; server=""
done
[ -n "$server" ] || { echo "idle-cost: cannot start Xvfb" >&2; exit 1; }
export DISPLAY=":$n"

cpu_ns() { awk '{ print $1 }' "/proc/$1/schedstat"; }
field() { awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status"; }

ratios=()
printf '%-4s %-8s %10s %12s %8s\n' run program "cpu ms" "wake-ups/s" "RSS kB"
for run in $(seq "$runs"); do
  pids=() names=()
  for i in "${!clocks[@]}"; do
    "${clocks[$i]}" & pids+=($!); names+=("halyard$([ "$i" -gt 0 ] && echo "$((i + 1))")")
  done
  xclock -update 1 & pids+=($!); names+=(xclock)
  sleep 3  # past start-up
  cpu=() cs=()
  for p in "${pids[@]}"; do cpu+=("$(cpu_ns "$p")"); cs+=("$(field "$p" voluntary_ctxt_switches)"); done
  sleep "$seconds"
  us=()
  for i in "${!pids[@]}"; do
    p=${pids[$i]}
    us+=($(( ($(cpu_ns "$p") - cpu[i]) / 1000 )))
    printf '%-4s %-8s %10.1f %12s %8s\n' "$run" "${names[$i]}" "$(awk -v u="${us[$i]}" 'BEGIN { print u / 1000 }')" \
      "$(awk -v a="${cs[$i]}" -v b="$(field "$p" voluntary_ctxt_switches)" -v s="$seconds" 'BEGIN { printf "%.2f", (b - a) / s }')" \
      "$(field "$p" VmRSS)"
  done
  kill "${pids[@]}"; wait "${pids[@]}" 2>/dev/null
  x_us=${us[${#us[@]} - 1]}
  row=""
  for i in "${!clocks[@]}"; do
    row+="$(awk -v a="${us[$i]}" -v b="$x_us" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }') "
  done
  ratios+=("$row")
done
for i in "${!clocks[@]}"; do
  printf '%s\n' "${ratios[@]}" | awk -v c=$((i + 1)) '{ print $c }' | sort -n | awk -v name="${names[$i]}" '{ r[NR] = $1 } END {
    m = NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2
    printf "cpu ratio %s/xclock: median %.2f, range %.2f-%.2f over %d runs\n", name, m, r[1], r[NR], NR }'
done
