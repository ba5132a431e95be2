#!/usr/bin/env bash
# What the running clock costs while idle, beside `xclock -update 1`, on a
# private Xvfb server: CPU time (from the scheduler's nanosecond count),
# voluntary context switches (wake-ups) per second, and resident memory.
#   scripts/idle-cost.sh BUILD_DIR [SECONDS [RUNS]]     (defaults: 60 s, 3 runs)
# Prints one line per program and run, then the median and range of the CPU
# ratio halyard / xclock over the runs.
set -uo pipefail

build="${1:?usage: idle-cost.sh BUILD_DIR [SECONDS [RUNS]]}"
seconds="${2:-60}"
runs="${3:-3}"
halyard="$(cd "$build" && pwd)/halyard"
[ -x "$halyard" ] || { echo "idle-cost: $halyard is missing; build it first" >&2; exit 1; }
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
  "$halyard" & h=$!
  xclock -update 1 & x=$!
  sleep 3  # past start-up
  h_cpu=$(cpu_ns $h); x_cpu=$(cpu_ns $x)
  h_cs=$(field $h voluntary_ctxt_switches); x_cs=$(field $x voluntary_ctxt_switches)
  sleep "$seconds"
  h_ms=$(( ($(cpu_ns $h) - h_cpu) / 1000000 )); x_ms=$(( ($(cpu_ns $x) - x_cpu) / 1000000 ))
  for p in "halyard $h $h_ms $h_cs" "xclock $x $x_ms $x_cs"; do
    set -- $p
    printf '%-4s %-8s %10s %12s %8s\n' "$run" "$1" "$3" \
      "$(awk -v a="$4" -v b="$(field "$2" voluntary_ctxt_switches)" -v s="$seconds" 'BEGIN { printf "%.2f", (b - a) / s }')" \
      "$(field "$2" VmRSS)"
  done
  kill $h $x; wait $h $x 2>/dev/null
  ratios+=("$(awk -v a="$h_ms" -v b="$x_ms" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')")
done
printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END {
  m = NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2
  printf "cpu ratio halyard/xclock: median %.2f, range %.2f-%.2f over %d runs\n", m, r[1], r[NR], NR }'
