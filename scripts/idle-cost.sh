#!/usr/bin/env bash
# The idle clock's cost beside `xclock -update 1` and the floor (bench/halyard-floor,
# an X client that only wakes when the clock does; floor-send also sends the one
# request a second that showing seconds needs), on a private Xvfb with the
# pointer off the clock: CPU time, wake-ups (voluntary switches) per second, RSS.
#   scripts/idle-cost.sh BUILD_DIR [SECONDS [RUNS [OTHER_BUILD_DIR]]]   (60 s, 3 runs)
# Prints a line per program and run, then the median and range of halyard/xclock,
# halyard/floor and halyard/floor-send. OTHER_BUILD_DIR's clock runs beside the first, to compare two
# builds under the same load. build/windows runs halyard.exe under Wine and shows
# the prefix's wineserver on a line of its own (the floor then comes from build/linux).
set -uo pipefail
me=idle-cost
. "$(dirname "$0")/lib.sh"

seconds="${2:-60}"
runs="${3:-3}"
clocks=()
floor=""
i=0
for build in "${1:?usage: idle-cost.sh BUILD_DIR [SECONDS [RUNS [OTHER_BUILD_DIR]]]}" ${4:+"$4"}; do
  build="$(cd "$build" 2>/dev/null && pwd)" || die "no build directory"
  for f in "$build/bench/halyard-floor" "$build/../linux/bench/halyard-floor"; do [ -n "$floor" ] || { [ -x "$f" ] && floor=$f; }; done
  if [ -f "$build/halyard.exe" ]; then
    [ -n "${wine:-}" ] || wine_session "$build" wineprefix-idle 1280x1024
    mkdir -p "$work/app$i" && cp "$build/halyard.exe" "$work/app$i/"  # no options file beside it
    clocks+=("$wine $work/app$i/halyard.exe")
  else
    [ -x "$build/halyard" ] || die "$build/halyard is missing; build it first"
    clocks+=("$build/halyard")
  fi
  i=$((i + 1))
done
need xclock xdotool
[ -n "${wine:-}" ] || { xvfb && export DISPLAY=$xdisplay; } || exit 1
# Xvfb puts the pointer at the middle of the screen, over the clock, whose tooltip would open.
xdotool mousemove 4095 4095
others=(xclock) && [ -n "$floor" ] && others+=(floor floor-send)

ratios=()
printf '%-4s %-10s %10s %12s %8s\n' run program "cpu ms" "wake-ups/s" "RSS kB"
for run in $(seq "$runs"); do
  pids=() names=()
  for i in "${!clocks[@]}"; do
    ${clocks[$i]} </dev/null 2>/dev/null & pids+=($!); names+=("halyard$([ "$i" -gt 0 ] && echo "$((i + 1))")")
  done
  xclock -update 1 & pids+=($!); names+=(xclock)
  [ -n "$floor" ] && { "$floor" & pids+=($!); names+=(floor); "$floor" --send & pids+=($!); names+=(floor-send); }
  sleep 3  # past start-up
  if [ -n "${wine:-}" ] && server=$(wineserver_pid); then pids+=("$server"); names+=(wineserver); fi
  cpu=() cs=()
  for p in "${pids[@]}"; do cpu+=("$(cpu_us "$p")"); cs+=("$(wakeups "$p")"); done
  sleep "$seconds"
  us=()
  for i in "${!pids[@]}"; do
    p=${pids[$i]}
    us+=($(( $(cpu_us "$p") - cpu[i] )))
    printf '%-4s %-10s %10.1f %12s %8s\n' "$run" "${names[$i]}" "$(awk -v u="${us[$i]}" 'BEGIN { print u / 1000 }')" \
      "$(awk -v a="${cs[$i]}" -v b="$(wakeups "$p")" -v s="$seconds" 'BEGIN { printf "%.2f", (b - a) / s }')" \
      "$(rss_kib "$p")"
  done
  n=${#clocks[@]}
  stop "${pids[@]:0:n+${#others[@]}}"
  row=""
  for i in "${!clocks[@]}"; do
    for o in "${!others[@]}"; do row+="$(awk -v a="${us[$i]}" -v b="${us[n + o]}" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }') "; done
  done
  ratios+=("$row")
done
for i in "${!clocks[@]}"; do
  for o in "${!others[@]}"; do
    printf '%s\n' "${ratios[@]}" | awk -v c=$((i * ${#others[@]} + o + 1)) '{ print $c }' | sort -n |
      awk -v name="${names[$i]}/${others[$o]}" '{ r[NR] = $1 } END { m = NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2
      printf "cpu ratio %s: median %.2f, range %.2f-%.2f over %d runs\n", name, m, r[1], r[NR], NR }'
  done
done
