#!/usr/bin/env bash
# Runs the Windows test binary under Wine on a private, headless X display.
#
#   scripts/wine-tests.sh BUILD_DIR [test arguments, e.g. --gtest_filter=Gdi*]
#
# The Wine prefix lives in BUILD_DIR/wineprefix and is made on first use. Xvfb
# picks a free display itself (-displayfd), so parallel runs and a desktop
# session on :0 do not collide. Exits with the test binary's status.
set -euo pipefail

die() {
  echo "wine-tests: $*" >&2
  exit 2
}

[ $# -ge 1 ] || die "usage: $0 BUILD_DIR [test arguments...]"
build_dir=$(cd "$1" 2>/dev/null && pwd) || die "no build directory '$1'"
shift
exe="$build_dir/tests/halyard_tests.exe"
[ -f "$exe" ] || die "$exe not found; build the halyard_tests target first"

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
# Debian's plain `wine` is a wrapper that prefers a 32-bit loader; the tests are 64-bit.
wine=$(find_tool "${WINE:-}" wine64 /usr/lib/wine/wine64 wine) || die "Wine is not installed"
wineserver=$(find_tool "${WINESERVER:-}" wineserver /usr/lib/wine/wineserver64) ||
  die "wineserver is not installed"
command -v Xvfb >/dev/null 2>&1 || die "Xvfb is not installed"

export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko install prompts, and no menu entries written into $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WAYLAND_DISPLAY

work=$(mktemp -d "${TMPDIR:-/tmp}/wine-tests.XXXXXX")
xvfb_pid=""

cleanup() {
  # Let the prefix's server and services end while their display still exists.
  timeout 30 "$wineserver" -w 2>/dev/null || "$wineserver" -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# One run per prefix at a time: the prefix's wineserver is shared by all of them.
exec 9>"$build_dir/wineprefix.lock"
flock 9

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" \
  </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 100); do
  display=$(tr -dc '0-9' <"$work/display")
  [ -n "$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$display" ]; then
  cat "$work/xvfb.log" >&2
  die "Xvfb did not start"
fi
export DISPLAY=":$display"

# A prefix whose first boot was interrupted lacks the marker and is made again.
if [ ! -f "$WINEPREFIX/.initialised" ]; then
  echo "wine-tests: creating the Wine prefix $WINEPREFIX (first run only)" >&2
  rm -rf "$WINEPREFIX"
  if ! "$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1; then
    cat "$work/wineboot.log" >&2
    die "wineboot failed"
  fi
  "$wineserver" -w
  touch "$WINEPREFIX/.initialised"
fi

set +e
"$wine" "$exe" "$@" </dev/null
status=$?
set -e
exit "$status"
