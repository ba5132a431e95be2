#!/usr/bin/env bash
# Runs the Windows test binary under Wine on a private, headless X display.
#
#   scripts/wine-tests.sh BUILD_DIR [test arguments, e.g. --gtest_filter=Gdi*]
#
# The Wine prefix lives in BUILD_DIR/wineprefix and is made on first use; the
# X display is a private Xvfb (see wine-session.sh). Exits with the test
# binary's status.
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

# shellcheck source=scripts/wine-session.sh
. "$(dirname "$0")/wine-session.sh"
wine_session "$build_dir" wineprefix

set +e
"$wine" "$exe" "$@" </dev/null
status=$?
set -e
exit "$status"
