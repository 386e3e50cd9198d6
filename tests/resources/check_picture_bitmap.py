#!/usr/bin/env python3
"""Checks the picture drawer of the dialogs (bitmap 104).

Runs the drawer twice into a scratch folder and reads what it wrote as the
resource compiler and Windows will: a BMP file holding a 120 x 256 picture
at 8 bits per pixel with a 256-entry palette, rows bottom-up, run-length
encoded (BI_RLE8) so that the DLL stays small; decoded, every row holds
exactly 120 pixels.
Both runs must give the same bytes (the picture is made at build time, so
a build must not depend on when or where it runs), the picture must be a
picture (many colours, not one filled rectangle), and a drawer that cannot
write its file must say so and fail.

Usage: check_picture_bitmap.py DRAW_PICTURE.py SCRATCH_FOLDER
Prints one line per check and exits 1 if any fails.
"""

import os
import struct
import subprocess
import sys

WIDTH = 120
HEIGHT = 256
COLOURS = 256

failures = []


def check(condition, what):
    print(("ok:   " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def draw(script, path):
    return subprocess.run([sys.executable, script, path], capture_output=True, text=True)


def check_headers(data):
    check(len(data) >= 54 and data[:2] == b"BM", "starts with a BMP file header ('BM')")
    if len(data) < 54:
        return None
    _, file_size, _, _, pixel_offset = struct.unpack_from("<2sIHHI", data, 0)
    (header_size, width, height, planes, bits, compression, image_size, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    check(file_size == len(data), f"file size field {file_size} is the file's length {len(data)}")
    check(header_size == 40, f"info header is a 40-byte BITMAPINFOHEADER (got {header_size})")
    check((width, height) == (WIDTH, HEIGHT),
          f"picture is {WIDTH} x {HEIGHT}, bottom-up (got {width} x {height})")
    check(planes == 1 and bits == 8, f"one plane at 8 bits per pixel (got {planes}, {bits})")
    check(compression == 1, f"run-length encoded (BI_RLE8; got {compression})")
    colours = used if used != 0 else 1 << bits
    check(colours == COLOURS, f"palette of {COLOURS} colours (got {colours})")
    check(image_size == len(data) - pixel_offset,
          f"image size field {image_size} is the encoded pixels' length {len(data) - pixel_offset}")
    palette_end = 14 + header_size + 4 * colours
    check(pixel_offset == palette_end,
          f"pixels follow the palette at offset {palette_end} (got {pixel_offset})")
    rows = decode_rle8(data[pixel_offset:])
    check(rows is not None and len(rows) == HEIGHT and all(len(r) == WIDTH for r in rows),
          f"the encoded pixels decode to exactly {HEIGHT} rows of {WIDTH} pixels, then the end mark")
    return data[14 + header_size:palette_end], rows


def decode_rle8(encoded):
    """The rows of a BI_RLE8 picture, bottom row first; None when it is
    malformed or does not end with the end-of-bitmap mark."""
    rows, row, i = [], [], 0
    while i + 1 < len(encoded):
        count, value = encoded[i], encoded[i + 1]
        i += 2
        if count:
            row += [value] * count
        elif value == 0:  # end of line
            rows.append(row)
            row = []
        elif value == 1:  # end of bitmap
            rows.append(row)
            return rows if i == len(encoded) else None
        elif value == 2:  # a delta move is not used by a picture drawn whole
            return None
        else:  # absolute run of `value` pixels, padded to a word
            row += list(encoded[i:i + value])
            i += value + (value & 1)
    return None


def check_picture(palette, rows):
    entries = [tuple(palette[i:i + 4]) for i in range(0, len(palette), 4)]
    check(all(e[3] == 0 for e in entries), "palette entries have their reserved byte 0")
    check(len(set(entries)) >= 200, f"palette holds distinct colours ({len(set(entries))})")
    used = set(b for row in rows for b in row)
    check(len(used) >= 64, f"the picture uses many of its colours ({len(used)} of {COLOURS})")
    # Sky over sea: the top rows and the bottom rows are not the same picture.
    bottom, top = rows[0], rows[-1]
    check(set(top).isdisjoint(set(bottom)), "the top and the bottom of the picture differ")


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: check_picture_bitmap.py DRAW_PICTURE.py SCRATCH_FOLDER\n")
        return 2
    script, folder = argv[1], argv[2]
    os.makedirs(folder, exist_ok=True)
    first = os.path.join(folder, "first.bmp")
    second = os.path.join(folder, "second.bmp")
    for path in (first, second):
        if os.path.exists(path):
            os.remove(path)

    run = draw(script, first)
    check(run.returncode == 0, f"the drawer writes {first} (exit {run.returncode} {run.stderr})")
    if run.returncode != 0:
        return 1
    with open(first, "rb") as f:
        data = f.read()
    parsed = check_headers(data)
    if parsed is not None and parsed[1] is not None and not failures:
        check_picture(*parsed)

    draw(script, second)
    with open(second, "rb") as f:
        check(f.read() == data, "a second run writes the same bytes")

    unwritable = os.path.join(folder, "no such folder", "picture.bmp")
    run = draw(script, unwritable)
    check(run.returncode != 0 and unwritable in run.stderr,
          f"an unwritable output fails and names the file (exit {run.returncode})")
    run = subprocess.run([sys.executable, script], capture_output=True, text=True)
    check(run.returncode == 2 and "usage" in run.stderr, "no output named: usage, exit 2")

    print(f"picture check: {len(failures)} failure(s)" if failures else "picture check: all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
