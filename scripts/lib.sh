# Sourced by the test scripts: messages, clean-up on exit, pass/fail counting,
# private X servers with a window manager, Wine sessions and what a process
# costs. The caller sets `me`, the name its messages start with.

die() { echo "$me: $*" >&2; exit 2; }
need() { local t; for t; do command -v "$t" >/dev/null 2>&1 || die "$t is not installed (scripts/setup.sh)"; done; }

# Commands given to on_exit run in the reverse order when the script ends.
at_exit=()
on_exit() { at_exit+=("$1"); }
run_at_exit() { local i; for ((i = ${#at_exit[@]} - 1; i >= 0; i--)); do eval "${at_exit[i]}" || true; done; }
trap run_at_exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# Ends children of this shell by id, and waits for them (none given: none).
stop() { [ $# -gt 0 ] && kill "$@" 2>/dev/null; [ $# -gt 0 ] && wait "$@" 2>/dev/null; return 0; }

# One line a check, "ok   NAME" or "FAIL NAME"; summary prints the counts and
# is true when something passed and nothing failed.
passed=0 failed=0 failures=()
pass() { passed=$((passed + 1)); echo "ok   $*"; }
fail() { failed=$((failed + 1)); failures+=("$*"); echo "FAIL $*"; }
check() { local name=$1; shift; if "$@"; then pass "$name"; else fail "$name"; fi; }
summary() { echo "$1: $passed passed, $failed failed"; [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]; }

# is_png FILE: true when the file starts as a PNG does.
is_png() { [ "$(head -c 8 "$1" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]; }

# poll SECONDS COMMAND...: true as soon as the command succeeds, false after SECONDS.
poll() { local end=$((SECONDS + $1)); shift; until "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.05; done; }

# xvfb [ARGUMENTS...]: a private X server (by default one 1280x1024 screen),
# -noreset, on the first free display of HALYARD_DISPLAYS (FIRST-LAST, default
# 90-199), ended on exit; sets xdisplay (":N") and xvfb_pid.
xvfb() {
  local range=${HALYARD_DISPLAYS:-90-199} n
  [ $# -gt 0 ] || set -- -screen 0 1280x1024x24
  need Xvfb xdpyinfo
  for n in $(seq "${range%-*}" "${range#*-}"); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" "$@" -nolisten tcp -noreset </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
      xdpyinfo -display ":$n" >/dev/null 2>&1 && { on_exit "stop $xvfb_pid"; xdisplay=":$n"; return 0; }
      kill -0 "$xvfb_pid" 2>/dev/null || break  # the number was taken meanwhile
      sleep 0.05
    done
    stop "$xvfb_pid"
  done
  echo "$me: cannot start Xvfb on a display of $range" >&2
  return 1
}

# window_manager DISPLAY: openbox on that screen, ended on exit.
window_manager() {
  need openbox xprop
  DISPLAY=$1 openbox </dev/null >/dev/null 2>&1 &
  on_exit "stop $!"
  poll 10 wm_running "$1"
}
wm_running() { xprop -display "$1" -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# wine_session BUILD_DIR PREFIX_NAME [SCREEN]: a private Xvfb of SCREEN (default
# 1024x768) and the 64-bit Wine prefix BUILD_DIR/PREFIX_NAME, made on first
# use, one run at a time. Sets wine, wineserver and work (a scratch folder).
wine_session() {
  wine=${WINE:-/usr/lib/wine/wine64}  # Debian's plain `wine` prefers a 32-bit loader
  wineserver=${WINESERVER:-/usr/lib/wine/wineserver64}
  [ -x "$wine" ] && [ -x "$wineserver" ] || die "Wine (64-bit) is not installed (scripts/setup.sh)"
  export HOME=${HOME:-/root} WINEPREFIX="$1/$2" WINEARCH=win64 WINEDEBUG=-all
  # No Mono or Gecko prompts, no menu entries in $HOME, and a crash ends the
  # run instead of waiting in the debugger.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
  unset WAYLAND_DISPLAY
  work=$(mktemp -d "${TMPDIR:-/tmp}/$2.XXXXXX")
  on_exit 'rm -rf "$work"'
  exec 9>"$WINEPREFIX.lock"  # the prefix's wineserver is shared by all its programs
  flock 9
  xvfb -screen 0 "${3:-1024x768}x24" || die "no X server for Wine"
  export DISPLAY=$xdisplay
  on_exit 'timeout 30 "$wineserver" -w 2>/dev/null || "$wineserver" -k 2>/dev/null'
  # A prefix whose first boot was interrupted lacks the marker and is made again.
  if [ ! -f "$WINEPREFIX/.initialised" ]; then
    echo "$me: creating the Wine prefix $WINEPREFIX (first run only)" >&2
    rm -rf "$WINEPREFIX"
    timeout 600 "$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1 ||
      { cat "$work/wineboot.log" >&2; die "wineboot failed"; }
    timeout 120 "$wineserver" -w || true
    touch "$WINEPREFIX/.initialised"
  fi
  # A test stopped while it had set another resolution (LogPixels, read as
  # each program starts) left the prefix so.
  if awk '/^\[/ { desktop = /^\[Control Panel\\\\Desktop\]/ } desktop && /^"LogPixels"/ { found = 1 } END { exit !found }' \
    "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$wine" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f </dev/null >/dev/null 2>&1 || true
  fi
}

# The wineserver of this session's prefix, which does the queue work for its programs.
wineserver_pid() {
  local p
  for p in $(pgrep wineserver); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$p"; return 0; }
  done; return 1
}

# What a process costs, all its threads: CPU time in microseconds (from the
# scheduler's nanosecond count), wake-ups (voluntary context switches) and
# resident memory in KiB.
cpu_us() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%d\n", n / 1000 }'; }
wakeups() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '$1 == "voluntary_ctxt_switches:" { n += $2 } END { print n + 0 }'; }
rss_kib() { awk '$1 == "VmRSS:" { print $2 }' "/proc/$1/status"; }
