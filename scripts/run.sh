#!/usr/bin/env bash
# Sets up, builds and starts the clock. Without a display it draws the current
# face into a PNG instead and says where.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target halyard halyard-render

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec build/linux/halyard
fi

mkdir -p out
png="$PWD/out/halyard-now.png"
build/linux/tools/halyard-render -o "$png"
echo "No X display available: wrote the current face to $png"
