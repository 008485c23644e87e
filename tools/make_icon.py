#!/usr/bin/env python3
"""Writes assets/qlok.ico: the QLOK clock face, drawn here, standard library only.

The icon holds 15 images: 48, 32, 24, 16 and 8 pixels square, each in 32-bit
BGRA, 8-bit (256-colour palette) and 4-bit (16-colour palette) colour, stored
as classic BMP entries with an AND mask.

With --png it writes the same face as RGBA PNG files instead, DIR/qlok-SIZE.png
for each SIZE, for the desktop's icon theme.

Usage: python3 tools/make_icon.py [OUTPUT]   (default: assets/qlok.ico)
       python3 tools/make_icon.py --png DIR SIZE...
"""

import math
import struct
import sys
import zlib
from pathlib import Path

SIZES = (48, 32, 24, 16, 8)
DEPTHS = (32, 8, 4)
SUPERSAMPLE = 8

# Colours (R, G, B). Chosen close to the 16-colour palette so the 4-bit images stay clean.
RIM = (0, 0, 160)
FACE = (255, 255, 255)
TICK = (128, 128, 128)
HANDS = (0, 0, 0)
ARROW = (0, 160, 0)
CENTRE = (224, 0, 0)

# The standard 16-colour palette.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette256():
    """A 6x6x6 colour cube, then 40 greys: 256 entries."""
    levels = (0, 51, 102, 153, 204, 255)
    colours = [(r, g, b) for r in levels for g in levels for b in levels]
    colours += [(round(i * 255 / 41),) * 3 for i in range(1, 41)]
    return colours


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def point_in_triangle(p, a, b, c):
    def side(p1, p2, p3):
        return (p1[0] - p3[0]) * (p2[1] - p3[1]) - (p2[0] - p3[0]) * (p1[1] - p3[1])

    d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
    has_neg = d1 < 0 or d2 < 0 or d3 < 0
    has_pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (has_neg and has_pos)


def polar(angle_deg, radius):
    """Clock angle (0 = 12 o'clock, clockwise) to unit-square coordinates."""
    a = math.radians(angle_deg)
    return 0.5 + radius * math.sin(a), 0.5 - radius * math.cos(a)


def artwork(size):
    """Returns a function (x, y) in the unit square -> (R, G, B) or None for transparent.

    Small sizes get thicker strokes and fewer details, so the clock stays readable.
    """
    px = 1.0 / size  # one pixel in unit coordinates
    outer = 0.5 - 0.2 * px
    rim = max(0.09, 1.5 * px)
    hand = max(0.075, 2.0 * px)
    ticks = size >= 24
    arrow = size >= 16
    # The sync arrow runs clockwise along the rim over the top, its head in the
    # top right corner where the square leaves room beyond the face.
    arc_from, arc_to = 320.0, 45.0
    head = (polar(arc_to + 30, outer - rim / 2), polar(arc_to, outer + 0.09),
            polar(arc_to, outer - rim - 0.07))

    def colour(x, y):
        r = math.hypot(x - 0.5, y - 0.5)
        angle = math.degrees(math.atan2(x - 0.5, 0.5 - y)) % 360
        if arrow and point_in_triangle((x, y), *head):
            return ARROW
        if r > outer:
            return None
        if r > outer - rim:
            if arrow and (angle >= arc_from or angle <= arc_to):
                return ARROW
            return RIM
        if r < max(0.06, 0.8 * px):
            return CENTRE
        # Minute hand to 12, hour hand to 3: straight on the pixel grid, sharp at 16 px.
        if segment_distance(x, y, 0.5, 0.5, *polar(0, 0.30)) < hand / 2:
            return HANDS
        if segment_distance(x, y, 0.5, 0.5, *polar(90, 0.21)) < hand / 2:
            return HANDS
        if ticks:
            for tick_angle in (0, 90, 180, 270):
                inner_point = polar(tick_angle, outer - rim - 0.07)
                outer_point = polar(tick_angle, outer - rim)
                if segment_distance(x, y, *inner_point, *outer_point) < max(0.025, 0.5 * px):
                    return TICK
        return FACE

    return colour


def render(size):
    """Anti-aliased RGBA rows, top row first."""
    colour = artwork(size)
    n = SUPERSAMPLE if size <= 48 else 4  # large faces need fewer samples per pixel
    rows = []
    for row in range(size):
        line = []
        for col in range(size):
            r = g = b = a = 0
            for sy in range(n):
                for sx in range(n):
                    c = colour((col + (sx + 0.5) / n) / size, (row + (sy + 0.5) / n) / size)
                    if c is not None:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            if a:
                line.append((round(r / a), round(g / a), round(b / a), round(255 * a / (n * n))))
            else:
                line.append((0, 0, 0, 0))
        rows.append(line)
    return rows


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], rgb)))


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def and_mask(rows, size):
    """1 = transparent; bottom row first; each row padded to 4 bytes."""
    out = bytearray()
    stride = row_bytes(size)
    for line in reversed(rows):
        bits = bytearray(stride)
        for col, pixel in enumerate(line):
            if pixel[3] < 128:
                bits[col // 8] |= 0x80 >> (col % 8)
        out += bits
    return bytes(out)


def xor_bitmap(rows, size, depth):
    """The colour bitmap and its palette (empty for 32-bit)."""
    palette = {4: VGA16, 8: palette256()}.get(depth, [])
    stride = row_bytes(size * depth)
    out = bytearray()
    cache = {}
    for line in reversed(rows):
        data = bytearray()
        if depth == 32:
            for r, g, b, a in line:
                data += bytes((b, g, r, a))
        else:
            indexes = []
            for r, g, b, a in line:
                if a < 128:
                    indexes.append(0)  # black under a set AND bit: transparent
                else:
                    key = (r, g, b)
                    if key not in cache:
                        cache[key] = nearest(palette, key)
                    indexes.append(cache[key])
            if depth == 8:
                data += bytes(indexes)
            else:
                for i in range(0, size, 2):
                    second = indexes[i + 1] if i + 1 < size else 0
                    data.append(indexes[i] << 4 | second)
        data += bytes(stride - len(data))
        out += data
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return table, bytes(out)


def bmp_entry(rows, size, depth):
    table, pixels = xor_bitmap(rows, size, depth)
    mask = and_mask(rows, size)
    colours_used = len(table) // 4
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0,
                         len(pixels) + len(mask), 0, 0, colours_used, 0)
    return header + table + pixels + mask


def build_icon():
    images = []
    for size in SIZES:
        rows = render(size)
        for depth in DEPTHS:
            images.append((size, depth, bmp_entry(rows, size, depth)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, depth, data in images:
        colour_count = 16 if depth == 4 else 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, depth,
                               len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, data in images)


def png(rows, size):
    """An 8-bit RGBA PNG of the rows."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))

    raw = b"".join(b"\0" + bytes(v for pixel in line for v in pixel) for line in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_pngs(folder, sizes):
    folder.mkdir(parents=True, exist_ok=True)
    for size in sizes:
        (folder / f"qlok-{size}.png").write_bytes(png(render(size), size))
    return 0


def main(argv):
    if len(argv) > 2 and argv[1] == "--png":
        return write_pngs(Path(argv[2]), [int(size) for size in argv[3:]])
    target = Path(argv[1]) if len(argv) > 1 else Path(__file__).resolve().parent.parent / "assets" / "qlok.ico"
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(build_icon())
    print(f"wrote {target}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
