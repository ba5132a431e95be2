#!/usr/bin/env bash
# Tests the Windows clock under Wine on a private, headless X display.
#
#   scripts/win32-tests.sh BUILD_DIR                   all checks below
#   scripts/win32-tests.sh BUILD_DIR --measure SECONDS  measure an idle clock instead
#   scripts/win32-tests.sh BUILD_DIR --full-speed SECONDS
#       run the full-speed test build (preset windows-full-speed) for SECONDS and
#       check that it stays drawn, answering and steady in GDI objects and memory
#
# 1. The window tests inside BUILD_DIR/tests/halyard_tests.exe: the real dialog,
#    controls and GDI, driven with synthetic events ($HALYARD_WIN32_FILTER
#    chooses them; default WinClock*).
# 2. BUILD_DIR/halyard.exe itself, started afresh for each way of ending it:
#    found by its caption, its window facts and icons checked, the face not
#    blank in a screenshot, then ended by Escape, the close command (close box,
#    system menu), WM_CLOSE and Alt+F4; each run must exit with code 0.
# 3. The command line: halyard-options.exe --version prints the project's
#    version; the clock given an unknown argument still opens its window;
#    with --countdown=on --alert=both the label counts down.
# 4. BUILD_DIR/halyard.exe --sync-status: "unknown" under Wine, in a message
#    box and on standard output, exit code 2, and no clock window.
# 5. Placement: --geometry corners, --scale 2, fit-screen at scale 4, a
#    remembered position across a restart and one far off-screen.
# 6. Scale 2 at 96 dpi draws what scale 1 draws at 192 dpi (the prefix's
#    LogPixels set to 192 for that run only).
#
# Needs Wine (64-bit), Xvfb, xdotool, xwininfo, xprop and ImageMagick. Runs
# without a terminal, without a display and as root. Screenshots and logs go
# to BUILD_DIR/win32-tests/. Exits 0 when everything passed, 1 on a failed
# check, 2 when something needed is missing.
set -euo pipefail

die() {
  echo "win32-tests: $*" >&2
  exit 2
}

usage="usage: $0 BUILD_DIR [--measure SECONDS | --full-speed SECONDS]"
[ $# -ge 1 ] || die "$usage"
build_dir=$(cd "$1" 2>/dev/null && pwd) || die "no build directory '$1'"
shift
measure=""
full_speed=""
if [ $# -ge 1 ]; then
  [ $# -eq 2 ] && [[ "$2" =~ ^[0-9]+$ ]] || die "$usage"
  case $1 in
    --measure) measure=$2 ;;
    --full-speed) full_speed=$2 ;;
    *) die "$usage" ;;
  esac
fi

clock_exe="$build_dir/halyard.exe"
inspect_exe="$build_dir/tools/halyard-inspect.exe"
tests_exe="$build_dir/tests/halyard_tests.exe"
[ -f "$clock_exe" ] || die "$clock_exe not found; build the halyard target"
[ -f "$inspect_exe" ] || die "$inspect_exe not found; build the halyard-inspect target"

for tool in xdotool xwininfo xprop import identify; do
  command -v "$tool" >/dev/null 2>&1 || die "$tool is not installed"
done

clock_pid=""
before_session_end() {
  if [ -n "$clock_pid" ] && kill -0 "$clock_pid" 2>/dev/null; then
    kill "$clock_pid" 2>/dev/null || true
  fi
}
# shellcheck source=scripts/wine-session.sh
. "$(dirname "$0")/wine-session.sh"
# Room for the window at scale 2, frame included.
wine_session "$build_dir" wineprefix-win32 1280x1024
out="$build_dir/win32-tests"
mkdir -p "$out"
# A run stopped during the 192 dpi check below would leave the prefix at 192 dpi.
if grep -q '^"LogPixels"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  "$wine" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
fi

failures=0
pass() { echo "PASS $*"; }
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

inspect() { timeout 120 "$wine" "$inspect_exe" "$@" </dev/null 2>>"$work/inspect.log" | tr -d '\r'; }

# The clock runs from a folder of its own, so no options file sits beside it.
mkdir -p "$work/app"
cp "$clock_exe" "$work/app/halyard.exe"

start_clock() {  # arguments go to the clock
  "$wine" "$work/app/halyard.exe" "$@" </dev/null >>"$work/clock.log" 2>&1 &
  clock_pid=$!
}

# Waits up to $1 seconds for the clock to end; its exit status goes to
# $clock_status ("still-running" if it had to be stopped). Not for $(...):
# only this shell can wait for its own child.
clock_status=""
wait_clock() {
  local i
  for i in $(seq $(($1 * 10))); do
    kill -0 "$clock_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$clock_pid" 2>/dev/null; then
    kill "$clock_pid" 2>/dev/null || true
    wait "$clock_pid" 2>/dev/null || true
    clock_pid=""
    clock_status="still-running"
    return
  fi
  clock_status=0
  wait "$clock_pid" || clock_status=$?
  clock_pid=""
}

fact() { sed -n "s/^$1=//p" "$2" | head -1; }

x_window() { xdotool search --name '^HALYARD$' 2>/dev/null | head -1; }

# --- measuring an idle clock ---

if [ -n "$measure" ]; then
  ticks=$(getconf CLK_TCK)
  cpu_of() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
  switches_of() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
      awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n + 0 }'
  }
  # The prefix's wineserver does the queue work for the clock; it is counted too.
  server_pid=""
  find_server() {
    local p
    for p in /proc/[0-9]*; do
      [[ "$(readlink "$p/exe" 2>/dev/null)" == *wineserver* ]] || continue
      tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
      server_pid=${p#/proc/}
      return
    done
  }
  start_clock
  inspect wait 120 >"$work/facts" || die "the clock's window did not appear"
  sleep 5  # start-up is not what is measured
  find_server
  cpu0=$(cpu_of "$clock_pid")
  sw0=$(switches_of "$clock_pid")
  srv0=0
  [ -n "$server_pid" ] && srv0=$(cpu_of "$server_pid")
  sleep "$measure"
  cpu1=$(cpu_of "$clock_pid")
  sw1=$(switches_of "$clock_pid")
  srv1=0
  [ -n "$server_pid" ] && srv1=$(cpu_of "$server_pid")
  private=$(awk '/^Private_(Clean|Dirty):/ { n += $2 } END { print n }' "/proc/$clock_pid/smaps_rollup")
  inspect close >/dev/null || true
  wait_clock 30
  awk -v c=$((cpu1 - cpu0)) -v s=$((srv1 - srv0)) -v w=$((sw1 - sw0)) -v t="$ticks" \
    -v d="$measure" -v p="$private" -v e="$clock_status" 'BEGIN {
      printf "seconds=%d\nclock_cpu_seconds=%.2f\nclock_cpu_percent=%.2f\n", d, c / t, 100 * c / t / d
      printf "wineserver_cpu_seconds=%.2f\ncontext_switches_per_second=%.1f\n", s / t, w / d
      printf "private_kib=%d\nexit_status=%s\n", p, e
    }' | tee "$out/measure.txt"
  exit 0
fi

# --- checks on the running program ---

check_facts() {
  local facts=$1 style exstyle client width height face label
  style=$(( $(fact style "$facts") ))
  exstyle=$(( $(fact exstyle "$facts") ))
  [ "$(fact caption "$facts")" = "HALYARD" ] && pass "caption" || fail "caption '$(fact caption "$facts")'"
  # Caption, system menu and minimise box; no maximise box, no sizing border.
  if (( (style & 0x00CA0000) == 0x00CA0000 && (style & 0x00050000) == 0 )); then
    pass "window style $(fact style "$facts")"
  else
    fail "window style $(fact style "$facts")"
  fi
  (( exstyle & 0x8 )) && pass "always on top" || fail "not topmost: exstyle $(fact exstyle "$facts")"
  client=$(fact client "$facts")
  width=${client%x*}
  height=${client#*x}
  face=$(fact face "$facts")
  label=$(fact label "$facts")
  # The face over the top 250 units and the label below it cover the client area.
  IFS=, read -r fl ft fr fb <<<"$face"
  IFS=, read -r ll lt lr lb <<<"$label"
  if [ "$fl,$ft,$fr" = "0,0,$width" ] && [ "$ll,$lt,$lr,$lb" = "0,$fb,$width,$height" ] &&
    (( height > width && fb > 4 * (lb - lt) && fb < 6 * (lb - lt) )); then
    pass "layout: client $client, face $face, label $label"
  else
    fail "layout: client $client, face $face, label $label"
  fi
  [ -n "$(fact label_text "$facts")" ] && pass "label text '$(fact label_text "$facts")'" || fail "empty label"
}

check_icons() {
  local xid=$1 icons
  icons=$(xprop -id "$xid" _NET_WM_ICON 2>/dev/null | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
  if [[ "$icons" == *"32 x 32"* && "$icons" == *"16 x 16"* ]]; then
    pass "icons: $icons"
  else
    fail "icons: '$icons'"
  fi
}

check_screenshot() {
  local name=$1 xid=$2 facts=$3 geometry x y colours
  inspect shot "$out/$name-client.bmp" >"$work/shot" || true
  colours=$(fact face_colors "$work/shot")
  # The X server's own view of the face: the root window cropped to it.
  geometry=$(xwininfo -id "$xid")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$geometry")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$geometry")
  IFS=, read -r _ _ fr fb <<<"$(fact face "$facts")"
  import -window root -crop "${fr}x${fb}+${x}+${y}" +repage "$out/$name-face.png"
  local xcolours
  xcolours=$(identify -format '%k' "$out/$name-face.png")
  if (( ${colours:-0} > 2 && xcolours > 2 )); then
    pass "face drawn: $colours colours in the window, $xcolours on the X screen"
  else
    fail "face blank: ${colours:-?} colours in the window, $xcolours on the X screen"
  fi
}

run_case() {
  local name=$1 facts="$work/$1.facts" xid
  start_clock
  if ! inspect wait 120 >"$facts"; then
    fail "$name: no window with the caption HALYARD"
    wait_clock 5
    return
  fi
  xid=$(x_window)
  if [ "$name" = "escape" ]; then
    check_facts "$facts"
    [ -n "$xid" ] && check_icons "$xid"
    sleep 1  # let the first paint reach the X server
    [ -n "$xid" ] && check_screenshot "$name" "$xid" "$facts"
  fi
  case $name in
    escape) xdotool windowfocus --sync "$xid" key Escape ;;
    alt-f4) xdotool windowfocus --sync "$xid" key alt+F4 ;;
    close-command) inspect sysclose ;;
    wm-close) inspect close ;;
  esac
  wait_clock 30
  if [ "$clock_status" = "0" ] && [ -z "$(x_window)" ]; then
    pass "$name ends the clock with exit code 0"
  else
    fail "$name: exit status $clock_status"
  fi
}

# --- the full-speed test build ---

if [ -n "$full_speed" ]; then
  (( full_speed >= 20 )) || die "--full-speed wants at least 20 seconds"
  ticks_per_second=$(getconf CLK_TCK)
  cpu_of() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
  private_of() { awk '/^Private_(Clean|Dirty):/ { n += $2 } END { print n }' "/proc/$1/smaps_rollup"; }
  : >"$work/clock.log"
  start_clock
  inspect wait 120 >"$work/full-speed.facts" || die "the clock's window did not appear"
  warm=$((full_speed / 10))
  sleep "$warm"  # caches and the label's colours have settled by now
  cpu0=$(cpu_of "$clock_pid")
  private0=$(private_of "$clock_pid")
  # A sample each tenth of the run shows whether memory levels off or creeps.
  samples="$private0"
  for i in $(seq 9); do
    sleep "$warm"
    samples="$samples $(private_of "$clock_pid")"
    [ "$i" -eq 4 ] && private_half=$(private_of "$clock_pid")
  done
  sleep $((full_speed - 10 * warm))
  cpu1=$(cpu_of "$clock_pid")
  private1=$(private_of "$clock_pid")
  if inspect wait 10 >"$work/full-speed.after"; then
    pass "still answering after ${full_speed}s: label '$(fact label_text "$work/full-speed.after")'"
  else
    fail "no answer after ${full_speed}s"
  fi
  xid=$(x_window)
  [ -n "$xid" ] && check_screenshot full-speed "$xid" "$work/full-speed.facts"
  [ -n "$xid" ] && xdotool windowfocus --sync "$xid" key Escape
  wait_clock 60
  [ "$clock_status" = "0" ] && pass "Escape ends it with exit code 0" || fail "exit status $clock_status"
  report=$(tr -d '\r' <"$work/clock.log" | sed -n 's/^full-speed: //p' | tail -1)
  [ -n "$report" ] || fail "no count report; is $clock_exe the full-speed build?"
  field() { sed -n "s/.*$1=\([0-9]*\).*/\1/p" <<<"$report"; }
  ticks=$(field ticks)
  first=$(field first)
  last=$(field last)
  least=$(field least)
  most=$(field most)
  # The clock's own timer is half a second; at full speed it must run far faster.
  (( ${ticks:-0} >= 20 * full_speed )) && pass "$ticks ticks in ${full_speed}s" ||
    fail "only ${ticks:-0} ticks in ${full_speed}s"
  if [ -n "$first" ] && (( first > 0 && least == first && most == first && last == first )); then
    pass "GDI objects steady at $first"
  else
    fail "GDI objects first=${first:-?} last=${last:-?} least=${least:-?} most=${most:-?}"
  fi
  # Private memory may not creep. Wine's own caches settle by some tens of KiB
  # early on, so the second half of the run is what counts: at most 1 % more.
  if (( private1 * 100 <= private_half * 101 )); then
    pass "private memory ${private0} KiB after ${warm}s, ${private_half} KiB at half time, ${private1} KiB at the end"
  else
    fail "private memory crept from ${private_half} KiB at half time to ${private1} KiB (${private0} KiB after ${warm}s)"
  fi
  awk -v c=$((cpu1 - cpu0)) -v t="$ticks_per_second" -v d=$((full_speed - warm)) -v s="$full_speed" \
    -v r="$report" -v p0="$private0" -v p1="$private1" -v m="$samples" -v e="$clock_status" 'BEGIN {
      printf "seconds=%d\nreport=%s\ncpu_percent_after_warm_up=%.1f\n", s, r, 100 * c / t / d
      printf "private_kib_warm=%d\nprivate_kib_end=%d\nprivate_kib_samples=%s\nexit_status=%s\n", p0, p1, m, e
    }' | tee "$out/full-speed.txt"
  cp "$work/clock.log" "$out/" 2>/dev/null || true
  if [ "$failures" -eq 0 ]; then
    echo "win32-tests: full speed passed"
    exit 0
  fi
  echo "win32-tests: full speed: $failures failed (logs and screenshots in $out)"
  exit 1
fi

# --- 1. the window tests inside the test program ---

if [ -f "$tests_exe" ]; then
  set +e
  timeout 1800 "$wine" "$tests_exe" --gtest_filter="${HALYARD_WIN32_FILTER:-WinClock*}" \
    </dev/null 2>&1 | tr -d '\r' | tee "$out/unit.log" | grep -E '^\[ *(RUN|OK|FAILED|PASSED) *\]|Failure|Expected|Which is|actual'
  status=${PIPESTATUS[0]}
  set -e
  if [ "$status" -eq 0 ]; then pass "window tests in halyard_tests.exe"; else fail "window tests in halyard_tests.exe (status $status)"; fi
else
  fail "no $tests_exe; build the halyard_tests target"
fi

# --- 2. the program, once for each way of ending it ---

for ending in escape close-command wm-close alt-f4; do
  run_case "$ending"
done

# --- 3. the command line ---

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
options_exe="$build_dir/tools/halyard-options.exe"
if [ -f "$options_exe" ]; then
  said=$(timeout 120 "$wine" "$options_exe" --version </dev/null 2>/dev/null | tr -d '\r')
  [ -n "$version" ] && [ "$said" = "halyard-options $version" ] && pass "halyard-options.exe --version: $said" ||
    fail "halyard-options.exe --version said '$said', expected 'halyard-options $version'"
else
  fail "no $options_exe; build the halyard-options target"
fi
start_clock --bogus
if inspect wait 120 >"$work/stray.facts"; then
  pass "an unknown argument: the window opens"
  inspect close >/dev/null || true
  wait_clock 30
  [ "$clock_status" = "0" ] && pass "and the clock ends with exit code 0" || fail "exit status $clock_status"
  grep -q "unknown argument '--bogus'" "$work/clock.log" && pass "the argument is named on stderr" ||
    fail "no stderr line naming the argument: $(tr -d '\r' <"$work/clock.log" | head -3)"
else
  fail "an unknown argument: no window with the caption HALYARD"
  wait_clock 5
fi

# The countdown and alert settings: the label counts down to the next period
# (or names the one in force), and the clock ends as usual.
start_clock --countdown=on --alert=both
if inspect wait 120 >"$work/countdown.facts"; then
  label=$(fact label_text "$work/countdown.facts")
  if [[ "$label" =~ ^(500\ kHz\ CW|2182\ kHz\ PH)\ IN\ [0-9]+:[0-5][0-9]$ || "$label" == "SILENT "* ]]; then
    pass "countdown on: label '$label'"
  else
    fail "countdown on: label '$label'"
  fi
  inspect close >/dev/null || true
  wait_clock 30
  [ "$clock_status" = "0" ] && pass "alert=both: the clock ends with exit code 0" || fail "alert=both: exit status $clock_status"
else
  fail "countdown and alert=both: no window with the caption HALYARD"
  wait_clock 5
fi

# --- 4. --sync-status: the line in a message box and on standard output, no clock ---
# Wine has no GetSystemTimeAdjustmentPrecise, so the answer there is "unknown" (2).
sync_status() {
  local box="" line i
  "$wine" "$work/app/halyard.exe" --sync-status </dev/null >"$work/sync-status.out" 2>>"$work/clock.log" &
  clock_pid=$!
  for i in $(seq 300); do
    # Only a mapped box can take the focus; Wine names it before it maps it.
    box=$(xdotool search --onlyvisible --name '^HALYARD sync status$' 2>/dev/null | head -1 || true)
    [ -n "$box" ] && break
    kill -0 "$clock_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$(x_window)" ] && fail "--sync-status opened the clock's window"
  for i in $(seq 20); do
    [ -n "$box" ] || break
    xdotool windowfocus --sync "$box" key Return 2>/dev/null && break
    sleep 0.2
  done
  wait_clock 30
  line=$(tr -d '\r' <"$work/sync-status.out" | head -1)
  if [ -n "$box" ] && [ "$clock_status" = "2" ] && [[ "$line" == "unknown: "* ]]; then
    pass "--sync-status: '$line', exit code 2, in a message box"
  else
    fail "--sync-status: box '${box:-none}', exit status $clock_status, line '$line'"
  fi
}
sync_status

# --- 5. placement ---

window_rect() { fact window "$1"; }
placed() {  # name, expected window rectangle as a pattern, then the clock's arguments
  local name=$1 pattern=$2 rect
  shift 2
  : >"$work/clock.log"
  start_clock "$@"
  if ! inspect wait 120 >"$work/$name.facts"; then
    fail "$name: no window"
    wait_clock 5
    return
  fi
  rect=$(window_rect "$work/$name.facts")
  inspect close >/dev/null || true
  # Once in a few full runs Wine has left a close posted right after start-up
  # unanswered: one more close after 15 s, said on stderr, before giving up.
  local _
  for _ in $(seq 150); do kill -0 "$clock_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$clock_pid" 2>/dev/null; then
    echo "win32-tests: $name: no end 15 s after the close; closing again" >&2
    inspect close >/dev/null || true
  fi
  wait_clock 15
  if [[ "$rect" =~ ^$pattern$ ]] && [ "$clock_status" = "0" ]; then
    pass "$name: window $rect, client $(fact client "$work/$name.facts")"
  else
    fail "$name: window $rect (expected $pattern), client $(fact client "$work/$name.facts"), exit $clock_status"
  fi
}
placed "geometry -0-0" '[0-9]+,[0-9]+,1280,1024' --geometry -0-0
placed "geometry +10+20" '10,20,[0-9]+,[0-9]+' --geometry +10+20
placed "scale 2" '[0-9]+,[0-9]+,[0-9]+,[0-9]+' --scale 2
[ "$(fact client "$work/scale 2.facts")" = "660x863" ] && pass "scale 2: the client is 660x863 (330x450 at scale 1)" ||
  fail "scale 2: client $(fact client "$work/scale 2.facts"), expected 660x863"
placed "scale 4, fit-screen" '[0-9]+,[0-9]+,[0-9]+,[0-9]+' --scale 4
IFS=, read -r l t r b <<<"$(window_rect "$work/scale 4, fit-screen.facts")"
if (( l >= 0 && t >= 0 && r <= 1280 && b <= 1024 )) && [ "$(grep -c 'does not fit' "$work/clock.log")" = 1 ]; then
  pass "scale 4: fit-screen keeps it on the screen, with one line: $(tr -d '\r' <"$work/clock.log" | head -1)"
else
  fail "scale 4: window $l,$t,$r,$b; stderr: $(tr -d '\r' <"$work/clock.log" | head -2)"
fi

state=$(find "$WINEPREFIX/drive_c/users" -maxdepth 4 -type d -path '*/AppData/Local' | head -1)/HALYARD/position
rm -f "$state"
start_clock --remember-position=on
if inspect wait 120 >/dev/null; then
  inspect move 200 150 >/dev/null || true
  sleep 0.5
  inspect close >/dev/null || true
fi
wait_clock 30
[ "$(cat "$state" 2>/dev/null)" = "200 150" ] && pass "remember-position: 200 150 kept in $state" ||
  fail "remember-position: '$(cat "$state" 2>/dev/null)' in $state"
placed "a remembered position after a restart" '200,150,[0-9]+,[0-9]+' --remember-position=on
printf '5000 5000\n' >"$state"
placed "a remembered position at 5000,5000" '[0-9]+,[0-9]+,[0-9]+,[0-9]+' --remember-position=on
IFS=, read -r l t r b <<<"$(window_rect "$work/a remembered position at 5000,5000.facts")"
(( l >= 0 && t >= 0 && r <= 1280 && b <= 1024 )) && pass "5000,5000 comes back on the screen: $l,$t,$r,$b" ||
  fail "5000,5000 left the window at $l,$t,$r,$b"
rm -f "$state"

# --- 6. scale 2 at 96 dpi against scale 1 at 192 dpi ---

scale_shot() {  # dpi, scale, file
  local status
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  set +e
  HALYARD_TEST_SCALE=$2 HALYARD_SCALE_SHOT=$3 timeout 600 "$wine" "$tests_exe" \
    --gtest_filter=WinClockPlacementTest.* </dev/null 2>&1 | tr -d '\r' >>"$out/scale.log"
  status=${PIPESTATUS[0]}
  set -e
  return "$status"
}
if [ -f "$tests_exe" ]; then
  : >"$out/scale.log"
  scale_shot 96 2 "$out/scale2-96dpi.bmp" && s96=ok || s96=failed
  scale_shot 192 1 "$out/scale1-192dpi.bmp" && s192=ok || s192=failed
  "$wine" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  "$wineserver" -k 2>/dev/null || true
  differing=$(compare -metric AE "$out/scale2-96dpi.bmp" "$out/scale1-192dpi.bmp" null: 2>&1 || true)
  if [ "$s96$s192" = okok ] && [ "$differing" = 0 ]; then
    pass "scale 2 at 96 dpi is scale 1 at 192 dpi: $(identify -format '%wx%h' "$out/scale2-96dpi.bmp"), 0 pixels differ"
  else
    fail "scale 2 at 96 dpi ($s96) against 192 dpi ($s192): '$differing' pixels differ (see $out/scale.log)"
  fi
fi

cp "$work/clock.log" "$work/inspect.log" "$out/" 2>/dev/null || true
if [ "$failures" -eq 0 ]; then
  echo "win32-tests: all passed"
  exit 0
fi
echo "win32-tests: $failures failed (logs and screenshots in $out)"
exit 1
