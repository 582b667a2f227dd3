#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows icon file (.ico).

The icon is a picture card whose left half, a warm evening sky, fades into a cool sea on the
right through a ramp of strips: two pictures becoming one. The file holds the four images
that the desktop asks for: 32 x 32 at 24 bits per pixel, and 48 x 48, 128 x 128 and
256 x 256 at 32 bits per pixel with alpha; the largest is stored as PNG, as usual for that
size. Without alpha the small image fills its whole square: a 1-bit mask could cut its
corners round, but Qt 6 reads such a mask as fully opaque and would show black corners.

    scripts/make-icon.py [output]      (default: data/icons/vantelle.ico)
"""
import math
import struct
import sys
import zlib
from pathlib import Path

WARM = (255, 152, 64)
COOL = (40, 184, 196)
SUN = (255, 236, 170)
HILLS = 0.62          # darkening of the hills over both halves
TILE_TOP = (58, 76, 120)
TILE_BOTTOM = (26, 36, 64)
FRAME = (250, 250, 252)
STRIPS = 6            # the ramp's visible steps between the two halves


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def rounded_box(x, y, left, top, right, bottom, radius):
    """Whether (x, y) lies inside the rectangle with rounded corners."""
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and left <= x <= right and top <= y <= bottom


def picture(x, y):
    """The card's picture at (x, y) in the unit square: sky and sea joined by the ramp."""
    t = min(max((x - 0.34) / 0.32, 0.0), 1.0)
    t = math.floor(t * STRIPS) / (STRIPS - 1) if t < 1.0 else 1.0
    colour = mix(WARM, COOL, min(t, 1.0))
    if (x - 0.34) ** 2 + (y - 0.42) ** 2 <= 0.075 ** 2:
        colour = mix(colour, SUN, 0.85)
    hill = 0.66 - 0.07 * math.sin((x - 0.2) * 9.0) - 0.04 * math.sin(x * 23.0)
    if y >= hill:
        colour = tuple(c * HILLS for c in colour)
    return colour


def sample(x, y, full_square):
    """Colour and coverage of the icon at (x, y) in the unit square."""
    if not full_square and not rounded_box(x, y, 0.03, 0.03, 0.97, 0.97, 0.2):
        return (0, 0, 0), 0.0
    if rounded_box(x, y, 0.15, 0.22, 0.85, 0.80, 0.05):
        return picture(x, y), 1.0
    if rounded_box(x, y, 0.12, 0.19, 0.88, 0.83, 0.07):
        return FRAME, 1.0
    return mix(TILE_TOP, TILE_BOTTOM, y), 1.0


def render(size, grid=4, full_square=False):
    """Rows of (r, g, b, a) bytes, top to bottom, each pixel averaged over grid x grid samples."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(grid):
                for sx in range(grid):
                    colour, cover = sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size, full_square)
                    r += colour[0] * cover
                    g += colour[1] * cover
                    b += colour[2] * cover
                    a += cover
            n = grid * grid
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def and_mask(rows):
    """The 1-bit mask, bottom-up, rows padded to 32 bits: set where the icon is transparent."""
    size = len(rows)
    stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return mask


def bmp_image(rows, bits):
    size = len(rows)
    if bits == 24:
        pixel = lambda p: bytes((p[2], p[1], p[0]))
    else:
        pixel = lambda p: bytes((p[2], p[1], p[0], p[3]))
    data = b""
    for row in reversed(rows):
        line = b"".join(pixel(p) for p in row)
        data += line + b"\0" * (-len(line) % 4)
    mask = and_mask(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(data) + len(mask), 0, 0, 0, 0)
    return header + data + mask


def png_image(rows):
    size = len(rows)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def icon_file(images):
    """images: (size, bits, data) in the order of the directory."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, bits, data in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, data in images)


def main():
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "data" / "icons" / "vantelle.ico"
    images = [
        (256, 32, png_image(render(256, grid=3))),
        (128, 32, bmp_image(render(128), 32)),
        (48, 32, bmp_image(render(48), 32)),
        (32, 24, bmp_image(render(32, full_square=True), 24)),
    ]
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_bytes(icon_file(images))


if __name__ == "__main__":
    main()
