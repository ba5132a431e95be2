#!/usr/bin/env bash
# Regenerates src/backends/win32/resources/halyard.ico: 32-bpp PNG images in
# an .ico container, 16, 24, 32 and 48 pixels drawn for their size by
# halyard-render --icon, and 256 pixels.
#
#   scripts/make-icon.sh              the 256 picture from halyard-render --icon 256
#   scripts/make-icon.sh FACE.png     the 256 picture from any PNG, cut to a
#                                     centred square and scaled to 256
#
# halyard-render is taken from $HALYARD_RENDER, else build/linux, else built
# into build/make-icon. ImageMagick makes the pictures RGBA, without time
# stamps so that the same pictures give the same file.
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

render=${HALYARD_RENDER:-}
if [ -z "$render" ] && [ -x build/linux/tools/halyard-render ]; then
  render=build/linux/tools/halyard-render
fi
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

# Each picture 8 bits per channel with alpha, without time stamps.
sizes=(16 24 32 48)
for s in "${sizes[@]}"; do
  "$render" --icon "$s" -o "$work/drawn-$s.png"
  convert "$work/drawn-$s.png" -depth 8 -define png:exclude-chunks=date,time PNG32:"$work/icon-$s.png"
done
# The 256 picture: a centred square.
size=$(identify -format '%[fx:min(w,h)]' "$work/source.png")
convert "$work/source.png" -gravity center -crop "${size}x${size}+0+0" +repage \
  -resize '256x256!' -depth 8 -define png:exclude-chunks=date,time PNG32:"$work/icon-256.png"

python3 - "$out" "$work"/icon-{16,24,32,48,256}.png <<'PY'
import struct, sys

images = []
for name in sys.argv[2:]:
    png = open(name, "rb").read()
    if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
        sys.exit(f"make-icon: {name} is not a PNG")
    width, height, depth, colour = struct.unpack(">IIBB", png[16:26])
    if width != height or width > 256 or (depth, colour) != (8, 6):
        sys.exit(f"make-icon: expected a square RGBA picture, got {width}x{height} depth {depth} type {colour}")
    images.append((width, png))

# ICONDIR, one ICONDIRENTRY per picture (0 stands for 256), then the PNG bytes.
offset = 6 + 16 * len(images)
header = struct.pack("<HHH", 0, 1, len(images))
entries, data = b"", b""
for width, png in images:
    entries += struct.pack("<BBBBHHII", width % 256, width % 256, 0, 0, 1, 32, len(png), offset + len(data))
    data += png
with open(sys.argv[1], "wb") as f:
    f.write(header + entries + data)
PY
echo "make-icon: wrote $out ($(stat -c %s "$out") bytes)"
