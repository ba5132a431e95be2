#!/usr/bin/env bash
# Regenerates src/backends/win32/resources/halyard.ico: 32-bpp PNG images of
# 16, 24, 32 and 48 pixels drawn by halyard-render --icon, and 256 pixels from
# halyard-render --icon 256 or from FACE.png (a centred square, scaled).
#   scripts/make-icon.sh [FACE.png]
# halyard-render is $HALYARD_RENDER, else build/linux's, else built into
# build/make-icon.
set -euo pipefail
cd "$(dirname "$0")/.."

me=make-icon
. scripts/lib.sh
need convert identify python3
out=src/backends/win32/resources/halyard.ico
work=$(mktemp -d "${TMPDIR:-/tmp}/make-icon.XXXXXX")
on_exit 'rm -rf "$work"'

render=${HALYARD_RENDER:-}
[ -n "$render" ] || [ ! -x build/linux/tools/halyard-render ] || render=build/linux/tools/halyard-render
if [ -z "$render" ]; then
  cmake -S . -B build/make-icon -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALYARD_TESTS=OFF >/dev/null
  ninja -j2 -C build/make-icon halyard-render >/dev/null
  render=build/make-icon/tools/halyard-render
fi
if [ $# -ge 1 ]; then
  [ -f "$1" ] || die "no picture '$1'"
  cp "$1" "$work/source.png"
else
  "$render" --icon 256 -o "$work/source.png"
fi

# RGBA, 8 bits a channel, without time stamps: the same pictures give the same file.
sizes=(16 24 32 48)
for s in "${sizes[@]}"; do
  "$render" --icon "$s" -o "$work/drawn-$s.png"
  convert "$work/drawn-$s.png" -depth 8 -define png:exclude-chunks=date,time PNG32:"$work/icon-$s.png"
done
# The 256 picture: a centred square.
size=$(identify -format '%[fx:min(w,h)]' "$work/source.png")
convert "$work/source.png" -gravity center -crop "${size}x${size}+0+0" +repage \
  -resize '256x256!' -depth 8 -define png:exclude-chunks=date,time PNG32:"$work/icon-256.png"

python3 scripts/ico-pack.py "$out" "$work"/icon-{16,24,32,48,256}.png
echo "make-icon: wrote $out ($(stat -c %s "$out") bytes)"
