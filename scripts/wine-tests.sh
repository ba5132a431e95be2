#!/usr/bin/env bash
# Runs the Windows test binary under Wine on a private, headless X display.
#
#   scripts/wine-tests.sh BUILD_DIR [test arguments, e.g. --gtest_filter=Gdi*]
#
# The Wine prefix is BUILD_DIR/wineprefix, made on first use. Exits with the
# test binary's status.
set -euo pipefail
me=wine-tests
. "$(dirname "$0")/lib.sh"

[ $# -ge 1 ] || die "usage: $0 BUILD_DIR [test arguments...]"
build_dir=$(cd "$1" 2>/dev/null && pwd) || die "no build directory '$1'"
shift
exe="$build_dir/tests/halyard_tests.exe"
[ -f "$exe" ] || die "$exe not found; build the halyard_tests target first"
wine_session "$build_dir" wineprefix
"$wine" "$exe" "$@" </dev/null
