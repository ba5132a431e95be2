#!/usr/bin/env bash
# Regenerates src/backends/win32/resources/halyard.ico: one 256 x 256 32-bpp
# PNG image in an .ico container.
#
#   scripts/make-icon.sh              the icon picture from halyard-render --icon 256
#   scripts/make-icon.sh FACE.png     any PNG; cut to a centred square, scaled to 256
#
# halyard-render is taken from $HALYARD_RENDER, else build/linux, else built
# into build/make-icon. ImageMagick makes the picture RGBA and 256 x 256.
set -euo pipefail
cd "$(dirname "$0")/.."

die() {
  echo "make-icon: $*" >&2
  exit 2
}

out=src/backends/win32/resources/halyard.ico
work=$(mktemp -d "${TMPDIR:-/tmp}/make-icon.XXXXXX")
trap 'rm -rf "$work"' EXIT

command -v convert >/dev/null 2>&1 || die "ImageMagick's convert is needed"
command -v python3 >/dev/null 2>&1 || die "python3 is needed"

if [ $# -ge 1 ]; then
  [ -f "$1" ] || die "no picture '$1'"
  cp "$1" "$work/source.png"
else
  render=${HALYARD_RENDER:-}
  if [ -z "$render" ] && [ -x build/linux/tools/halyard-render ]; then
    render=build/linux/tools/halyard-render
  fi
  if [ -z "$render" ]; then
    cmake -S . -B build/make-icon -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALYARD_TESTS=OFF >/dev/null
    ninja -j2 -C build/make-icon halyard-render >/dev/null
    render=build/make-icon/tools/halyard-render
  fi
  "$render" --icon 256 -o "$work/source.png"
fi

# A centred square, 256 x 256, 8 bits per channel with alpha.
size=$(identify -format '%[fx:min(w,h)]' "$work/source.png")
convert "$work/source.png" -gravity center -crop "${size}x${size}+0+0" +repage \
  -resize '256x256!' -depth 8 PNG32:"$work/icon.png"

python3 - "$work/icon.png" "$out" <<'PY'
import struct, sys

png = open(sys.argv[1], "rb").read()
if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
    sys.exit("make-icon: not a PNG")
width, height, depth, colour = struct.unpack(">IIBB", png[16:26])
if (width, height, depth, colour) != (256, 256, 8, 6):
    sys.exit(f"make-icon: expected 256x256 RGBA, got {width}x{height} depth {depth} type {colour}")

# ICONDIR, then one ICONDIRENTRY (0 stands for 256) pointing at the PNG bytes.
header = struct.pack("<HHH", 0, 1, 1)
entry = struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(png), 6 + 16)
with open(sys.argv[2], "wb") as f:
    f.write(header + entry + png)
PY
echo "make-icon: wrote $out ($(stat -c %s "$out") bytes)"
