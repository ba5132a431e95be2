# Sourced by wine-tests.sh and win32-tests.sh: a private headless X display
# and a 64-bit Wine prefix inside the build directory, both torn down on exit.
#
#   wine_session BUILD_DIR PREFIX_NAME [SCREEN]
#
# Needs die() from the caller. Sets wine, wineserver and work (a scratch folder
# removed on exit), exports WINEPREFIX and DISPLAY. A caller that starts
# programs of its own defines before_session_end() to stop them first.

find_tool() {
  local candidate
  for candidate in "$@"; do
    [ -n "$candidate" ] || continue
    if command -v "$candidate" >/dev/null 2>&1; then
      command -v "$candidate"
      return 0
    fi
  done
  return 1
}

session_end() {
  if declare -F before_session_end >/dev/null; then before_session_end || true; fi
  # Let the prefix's server and services end while their display still exists.
  timeout 30 "$wineserver" -w 2>/dev/null || "$wineserver" -k 2>/dev/null || true
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}

wine_session() {
  local build_dir=$1 prefix_name=$2 screen=${3:-1024x768} display=""
  # Debian's plain `wine` is a wrapper that prefers a 32-bit loader; everything here is 64-bit.
  wine=$(find_tool "${WINE:-}" wine64 /usr/lib/wine/wine64 wine) || die "Wine is not installed"
  wineserver=$(find_tool "${WINESERVER:-}" wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver) ||
    die "wineserver is not installed"
  command -v Xvfb >/dev/null 2>&1 || die "Xvfb is not installed"

  export HOME=${HOME:-/root}
  export WINEPREFIX="$build_dir/$prefix_name"
  export WINEARCH=win64
  export WINEDEBUG=-all
  # No Mono or Gecko install prompts, no menu entries written into $HOME, and a
  # crash ends the run instead of waiting in the debugger.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
  unset WAYLAND_DISPLAY

  work=$(mktemp -d "${TMPDIR:-/tmp}/$prefix_name.XXXXXX")
  xvfb_pid=""
  trap session_end EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM

  # One run per prefix at a time: the prefix's wineserver is shared by all of them.
  exec 9>"$build_dir/$prefix_name.lock"
  flock 9

  # Xvfb picks a free display itself, so parallel runs and a desktop on :0 do not collide.
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" \
    </dev/null >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    display=$(tr -dc '0-9' <"$work/display")
    [ -n "$display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$display" ] || { cat "$work/xvfb.log" >&2; die "Xvfb did not start"; }
  export DISPLAY=":$display"

  # A prefix whose first boot was interrupted lacks the marker and is made again.
  if [ ! -f "$WINEPREFIX/.initialised" ]; then
    echo "creating the Wine prefix $WINEPREFIX (first run only)" >&2
    rm -rf "$WINEPREFIX"
    timeout 600 "$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1 ||
      { cat "$work/wineboot.log" >&2; die "wineboot failed"; }
    timeout 120 "$wineserver" -w || true
    touch "$WINEPREFIX/.initialised"
  fi
}
