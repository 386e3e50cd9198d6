#!/usr/bin/env python3
"""Turns the dialog pictures the Windows test host saved (24-bit BMP) into
PNG files, and fails when one is missing or shows nothing: a picture of a
single colour, or of very few, means the dialog was not painted.

Usage: dialog_pictures.py FOLDER NAME...
Writes FOLDER/NAME.png for every FOLDER/NAME.bmp.
"""
import os
import struct
import sys
import zlib

MIN_COLOURS = 8


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24 or width <= 0 or height == 0:
        raise ValueError("expected a 24-bit picture, found %d bits, %d x %d" % (bits, width, height))
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        start = offset + y * stride
        bgr = data[start:start + width * 3]
        if len(bgr) != width * 3:
            raise ValueError("the file ends inside the pixels")
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    if height > 0:  # bottom-up
        rows.reverse()
    return width, abs(height), rows


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def write_png(path, width, height, rows):
    raw = b"".join(b"\x00" + row for row in rows)
    png = (b"\x89PNG\r\n\x1a\n" +
           png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
           png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def colours(width, rows):
    seen = set()
    for row in rows:
        for x in range(0, width * 3, 3):
            seen.add(row[x:x + 3])
            if len(seen) >= MIN_COLOURS:
                return len(seen)
    return len(seen)


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    folder, names = sys.argv[1], sys.argv[2:]
    failures = 0
    for name in names:
        bmp = os.path.join(folder, name + ".bmp")
        try:
            width, height, rows = read_bmp(bmp)
            found = colours(width, rows)
            if found < MIN_COLOURS:
                raise ValueError("only %d colours: the dialog was not painted" % found)
            png = os.path.join(folder, name + ".png")
            write_png(png, width, height, rows)
            print("%s: %d x %d, written %s" % (bmp, width, height, png))
        except (OSError, ValueError) as e:
            print("%s: %s" % (bmp, e), file=sys.stderr)
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
