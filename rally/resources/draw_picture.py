#!/usr/bin/env python3
"""Draws the picture at the left of RALLY.DLL's dialogs (bitmap 104).

A 120 x 256 picture in 256 colours: the add-on's name on a banner, a small
high-wing aircraft climbing through an evening sky, and below it an island
with a beach, hills and a landing strip in a calm sea. Everything is drawn
with simple shapes over a fixed palette, so the same script always writes
the same bytes (no randomness, no clock, no fonts from the machine).

Usage: draw_picture.py OUTPUT.bmp
"""

import struct
import sys

WIDTH = 120
HEIGHT = 256
COLOURS = 256
HORIZON = 150  # first row of sea

# --- Palette ---------------------------------------------------------------
# Index ranges, each a ramp between two colours. The ramps fill all 256
# entries so the picture really is a 256-colour one.
SKY = (0, 64)        # deep blue at the top to warm haze at the horizon
SEA = (64, 112)      # light near the horizon to dark at the bottom
SAND = (112, 128)
GRASS = (128, 160)   # dark to light green
ROCK = (160, 176)    # hill tops
SUN = (176, 192)     # glow to white-yellow core
PLANE = (192, 208)   # dark grey to white
RED = (208, 224)     # the aircraft's stripes and the banner
BANNER = (224, 240)  # dark blue banner behind the name
MISC = (240, 256)    # strip tarmac, markings, wake

RAMPS = [
    (SKY, (22, 46, 120), (250, 196, 150)),
    (SEA, (96, 160, 200), (10, 40, 90)),
    (SAND, (200, 170, 110), (250, 230, 175)),
    (GRASS, (20, 80, 30), (120, 190, 80)),
    (ROCK, (95, 85, 70), (190, 180, 160)),
    (SUN, (250, 170, 90), (255, 250, 225)),
    (PLANE, (40, 40, 48), (250, 250, 250)),
    (RED, (110, 10, 10), (240, 70, 50)),
    (BANNER, (8, 16, 60), (60, 90, 170)),
    (MISC, (50, 50, 55), (235, 235, 240)),
]


def make_palette():
    palette = [None] * COLOURS
    for (first, end), low, high in RAMPS:
        steps = end - first
        for i in range(steps):
            t = i / (steps - 1)
            palette[first + i] = tuple(round(a + (b - a) * t) for a, b in zip(low, high))
    return palette


def shade(ramp, t):
    """The index of the ramp's colour at t, 0 (first) to 1 (last)."""
    first, end = ramp
    t = min(max(t, 0.0), 1.0)
    return first + min(int(t * (end - first)), end - first - 1)


# --- Canvas and shapes -----------------------------------------------------
class Canvas:
    def __init__(self):
        self.pixels = bytearray(WIDTH * HEIGHT)  # row 0 is the top

    def put(self, x, y, index):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.pixels[y * WIDTH + x] = index

    def get(self, x, y):
        return self.pixels[y * WIDTH + x]

    def rect(self, x0, y0, x1, y1, index):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, index)

    def ellipse(self, cx, cy, rx, ry, colour):
        """Fills an ellipse; colour(x, y, d) gives the index, d = 0 centre to 1 rim."""
        for y in range(int(cy - ry), int(cy + ry) + 1):
            for x in range(int(cx - rx), int(cx + rx) + 1):
                d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
                if d <= 1.0:
                    self.put(x, y, colour(x, y, d))

    def polygon(self, points, index):
        """Fills a polygon by scanlines (even-odd rule, pixel centres)."""
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            crossings = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= yc < yb) or (yb <= yc < ya):
                    crossings.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            crossings.sort()
            for left, right in zip(crossings[0::2], crossings[1::2]):
                for x in range(int(round(left)), int(round(right))):
                    self.put(x, y, index)

    def line(self, x0, y0, x1, y1, index):
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for i in range(steps + 1):
            t = i / steps
            self.put(round(x0 + (x1 - x0) * t), round(y0 + (y1 - y0) * t), index)


# --- The scene -------------------------------------------------------------
def draw_sky_and_sea(c):
    for y in range(HORIZON):
        c.rect(0, y, WIDTH, y + 1, shade(SKY, y / (HORIZON - 1)))
    for y in range(HORIZON, HEIGHT):
        c.rect(0, y, WIDTH, y + 1, shade(SEA, (y - HORIZON) / (HEIGHT - 1 - HORIZON)))
    # Ripples: short light dashes, spaced wider towards the viewer.
    for row, y in enumerate(range(HORIZON + 4, HEIGHT, 9)):
        depth = (y - HORIZON) / (HEIGHT - HORIZON)
        length = 3 + int(depth * 8)
        for x in range((row * 13) % 23, WIDTH, 23 + length):
            c.line(x, y, x + length, y, shade(SEA, depth * 0.4))


def draw_sun(c):
    c.ellipse(88, HORIZON - 22, 16, 16, lambda x, y, d: shade(SUN, 1 - d))
    # The sun's path on the water.
    for y in range(HORIZON + 1, HORIZON + 40, 3):
        half = 6 - (y - HORIZON) // 8
        c.line(88 - half, y, 88 + half, y, shade(SUN, 0.3))


def draw_island(c):
    # Beach, then the green land, then two hills.
    c.ellipse(54, 196, 50, 20, lambda x, y, d: shade(SAND, 1 - d))
    c.ellipse(54, 193, 43, 15, lambda x, y, d: shade(GRASS, 0.35 + 0.5 * (y - 178) / 30))
    c.polygon([(12, 192), (34, 166), (46, 176), (60, 160), (84, 186), (96, 192)],
              shade(GRASS, 0.15))
    c.polygon([(30, 170), (34, 166), (39, 170)], shade(ROCK, 0.8))
    c.polygon([(55, 165), (60, 160), (66, 166)], shade(ROCK, 0.8))
    # The landing strip with its centre line.
    c.polygon([(24, 203), (80, 195), (82, 199), (26, 207)], MISC[0] + 3)
    for i in range(6):
        x = 31 + i * 8
        y = 204 - (x - 24) * 8 // 56
        c.line(x, y, x + 3, y - 1, MISC[1] - 1)
    # Palm trees on the beach.
    for x, y in ((16, 199), (90, 198)):
        c.line(x, y, x + 1, y - 9, shade(ROCK, 0.1))
        for dx, dy in ((-4, 2), (4, 2), (-3, -1), (3, -1)):
            c.line(x + 1, y - 9, x + 1 + dx, y - 9 + dy, shade(GRASS, 0.2))


def draw_aircraft(c):
    """A high-wing monoplane seen from the side, climbing to the left."""
    body = shade(PLANE, 0.85)
    dark = shade(PLANE, 0.25)
    stripe = shade(RED, 0.9)
    # Fuselage, tail fin and tailplane.
    c.polygon([(22, 98), (34, 92), (76, 86), (92, 78), (94, 82), (80, 93), (36, 104),
               (24, 104)], body)
    c.polygon([(80, 86), (90, 68), (97, 68), (94, 82)], body)
    c.polygon([(76, 88), (98, 84), (98, 87), (78, 91)], dark)
    c.line(34, 98, 82, 89, stripe)
    c.line(34, 99, 82, 90, stripe)
    c.line(88, 72, 95, 71, stripe)
    # Wing above the cabin, its strut and the cabin window.
    c.polygon([(30, 88), (64, 83), (66, 86), (32, 91)], shade(PLANE, 0.65))
    c.line(42, 90, 48, 101, dark)
    c.polygon([(30, 94), (40, 91), (41, 96), (32, 98)], shade(BANNER, 0.9))
    # Nose, propeller disc and wheels.
    c.ellipse(22, 101, 3, 4, lambda x, y, d: dark)
    c.ellipse(18, 101, 2, 10, lambda x, y, d: shade(PLANE, 0.5) if d > 0.5 else body)
    for x in (32, 46):
        c.line(x, 104, x - 1, 108, dark)
        c.ellipse(x - 1, 109, 2, 2, lambda x, y, d: dark)
    # A faint wake behind it.
    for i in range(5):
        c.line(100 + i * 4, 86 + i * 2, 102 + i * 4, 87 + i * 2, MISC[1] - 4)


FONT = {  # 5 x 7 letters, one string per row
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
}


def draw_banner(c, word="AERILON"):
    for y in range(6, 34):
        c.rect(6, y, WIDTH - 6, y + 1, shade(BANNER, 1 - (y - 6) / 27))
    c.rect(6, 34, WIDTH - 6, 36, shade(RED, 0.7))
    scale = 2
    width = len(word) * 6 * scale - scale
    x0 = (WIDTH - width) // 2
    y0 = 13
    for n, letter in enumerate(word):
        for row, bits in enumerate(FONT[letter]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    x = x0 + (n * 6 + col) * scale
                    y = y0 + row * scale
                    c.rect(x + 1, y + 1, x + scale + 1, y + scale + 1, BANNER[0])  # shadow
                    c.rect(x, y, x + scale, y + scale, shade(SUN, 0.95))


def draw_scene():
    c = Canvas()
    draw_sky_and_sea(c)
    draw_sun(c)
    draw_island(c)
    draw_aircraft(c)
    draw_banner(c)
    return c


BI_RLE8 = 1  # the compression of the info header

# --- BMP file --------------------------------------------------------------
def rle8_rows(canvas):
    """The picture run-length encoded (BI_RLE8), bottom-up as Windows keeps
    bitmaps: each row as runs of one colour (count, index), ended by an
    end-of-line mark, the last by the end-of-bitmap mark. The picture's
    large even areas make it a sixth of its plain size, which keeps the
    DLL small."""
    out = bytearray()
    for y in range(HEIGHT - 1, -1, -1):
        row = canvas.pixels[y * WIDTH:(y + 1) * WIDTH]
        x = 0
        while x < WIDTH:
            end = x
            while end < WIDTH and row[end] == row[x] and end - x < 255:
                end += 1
            out += bytes([end - x, row[x]])
            x = end
        out += b"\0\0"  # end of line
    out[-1] = 1  # the last end of line becomes the end of the bitmap
    return bytes(out)


def bmp_bytes(canvas, palette):
    image = rle8_rows(canvas)
    offset = 14 + 40 + 4 * COLOURS
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, BI_RLE8, len(image),
                              2835, 2835, COLOURS, 0)
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return file_header + info_header + colour_table + image


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: draw_picture.py OUTPUT.bmp\n")
        return 2
    data = bmp_bytes(draw_scene(), make_palette())
    try:
        with open(argv[1], "wb") as out:
            out.write(data)
    except OSError as error:
        sys.stderr.write(f"draw_picture.py: cannot write {argv[1]}: {error.strerror}\n")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
