#!/usr/bin/env bash
# The clock in the Wayland sessions of GNOME and KDE, where it is an X11 client
# of the compositor's XWayland: headless Mutter, then KWin, each running
# WaylandStackingTest of halyard_tests in its session. Reports and screenshots
# are left in OUT_DIR.
#   scripts/wayland-tests.sh BUILD_DIR [OUT_DIR]
set -uo pipefail

if [ "${1:-}" = --inside ]; then  # in the compositor's session, whose output KWin drops: --inside NAME BUILD_DIR OUT_DIR
  [ "$2" = mutter ] && { pipewire & wireplumber & }  # Mutter's screen cast
  HALYARD_WAYLAND_SESSION=$2 HALYARD_BINARY="$3/halyard" TEST_TMPDIR="$4" \
    "$3/tests/halyard_tests" --gtest_filter='WaylandStackingTest.*' >"$4/$2.report" 2>&1
  echo $? >"$4/$2.status"
  kill $(jobs -p) 2>/dev/null
  exit 0
fi

me=wayland-tests
. "$(dirname "$0")/lib.sh"
build="$(cd "${1:?usage: wayland-tests.sh BUILD_DIR [OUT_DIR]}" && pwd)"
out="${2:-$build/wayland-tests}"
mkdir -p "$out"
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
on_exit 'rm -rf "$XDG_RUNTIME_DIR"'
# kwin_wayland carries file capabilities, which a container refuses to run; a copy has none.
cp /usr/bin/kwin_wayland "$XDG_RUNTIME_DIR/kwin_wayland"
session() {  # NAME COMMAND...: the compositor, which runs the test inside its session
  local name="$1"; shift
  rm -f "$out/$name.status" "$out/$name.report"
  timeout 180 dbus-run-session -- "$@" >"$out/$name.log" 2>&1
  cat "$out/$name.report" 2>/dev/null
  [ "$(cat "$out/$name.status" 2>/dev/null)" = 0 ] && grep -q '^\[       OK \]' "$out/$name.report"
}
inside=(bash "$(cd "$(dirname "$0")" && pwd)/wayland-tests.sh" --inside)
check "mutter (log: $out/mutter.log)" session mutter mutter --wayland --headless --virtual-monitor 1280x1024 \
  --wayland-display halyard-mutter -- "${inside[@]}" mutter "$build" "$out"
check "kwin (log: $out/kwin.log)" session kwin env KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 "$XDG_RUNTIME_DIR/kwin_wayland" \
  --virtual --xwayland --width 1280 --height 1024 --socket halyard-kwin --exit-with-session "${inside[*]} kwin $build $out"
summary "$me"
