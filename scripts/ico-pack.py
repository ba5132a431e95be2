#!/usr/bin/env python3
"""Packs square RGBA PNG pictures into one .ico file, each picture stored as PNG.

   ico-pack.py OUT.ico PICTURE.png...      (used by scripts/make-icon.sh)
"""
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
