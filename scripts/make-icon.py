#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows icon file (.ico), or as the desktop
theme's icons.

The icon is a picture card whose left half, a warm evening sky, fades into a cool sea on the
right through a ramp of strips: two pictures becoming one. The file holds the four images
that the desktop asks for: 32 x 32 at 24 bits per pixel, and 48 x 48, 128 x 128 and
256 x 256 at 32 bits per pixel with alpha; the largest is stored as PNG, as usual for that
size. Without alpha the small image fills its whole square: a 1-bit mask could cut its
corners round, but Qt 6 reads such a mask as fully opaque and would show black corners.

The desktop theme's icons are the same drawing with its rounded corners at every size:
PNG images of 48 x 48, 128 x 128 and 256 x 256 and a scalable SVG, in the hicolor theme's
folders under dist/icons/ and named after the application id. The SVG is written from the
same shapes: the ramp's strips, the sun at 85 % over them and the hills as a 38 % shade.

    scripts/make-icon.py [output]      (default: data/icons/vantelle.ico)
    scripts/make-icon.py --theme [folder]      (default: dist/icons)
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
APP_ID = "com.orlenby.Vantelle"
THEME_SIZES = (48, 128, 256)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def rounded_box(x, y, left, top, right, bottom, radius):
    """Whether (x, y) lies inside the rectangle with rounded corners."""
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and left <= x <= right and top <= y <= bottom


def hill_line(x):
    """The hills' top edge at x in the unit square."""
    return 0.66 - 0.07 * math.sin((x - 0.2) * 9.0) - 0.04 * math.sin(x * 23.0)


def picture(x, y):
    """The card's picture at (x, y) in the unit square: sky and sea joined by the ramp."""
    t = min(max((x - 0.34) / 0.32, 0.0), 1.0)
    t = math.floor(t * STRIPS) / (STRIPS - 1) if t < 1.0 else 1.0
    colour = mix(WARM, COOL, min(t, 1.0))
    if (x - 0.34) ** 2 + (y - 0.42) ** 2 <= 0.075 ** 2:
        colour = mix(colour, SUN, 0.85)
    if y >= hill_line(x):
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


def hex_colour(colour):
    return "#" + "".join(f"{round(c):02x}" for c in colour)


def svg_image(size=256):
    """The drawing as SVG on a size x size canvas; the shapes are those that sample() tests."""
    def n(v):
        return f"{v * size:.2f}".rstrip("0").rstrip(".")

    def box(left, top, right, bottom, radius):
        return f'x="{n(left)}" y="{n(top)}" width="{n(right - left)}" height="{n(bottom - top)}" rx="{n(radius)}"'

    picture_box = (0.15, 0.22, 0.85, 0.80)
    strip = 0.32 / STRIPS
    strips = []
    # Left of the ramp the warm half, then one strip per step, the last one already cool. Each
    # strip reaches the right edge under the next one, so no seam shows between them.
    edges = [picture_box[0]] + [0.34 + k * strip for k in range(1, STRIPS)]
    for k in range(STRIPS):
        colour = mix(WARM, COOL, k / (STRIPS - 1))
        strips.append(f'<rect x="{n(edges[k])}" y="{n(picture_box[1])}" width="{n(picture_box[2] - edges[k])}" '
                      f'height="{n(picture_box[3] - picture_box[1])}" fill="{hex_colour(colour)}"/>')
    steps = 140
    hill = " ".join(f"{n(picture_box[0] + (picture_box[2] - picture_box[0]) * i / steps)},"
                    f"{n(hill_line(picture_box[0] + (picture_box[2] - picture_box[0]) * i / steps))}"
                    for i in range(steps + 1))
    hill = f"M{hill} L{n(picture_box[2])},{n(picture_box[3])} L{n(picture_box[0])},{n(picture_box[3])} Z"
    body = "\n    ".join(strips)
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">
  <title>Vantelle</title>
  <defs>
    <linearGradient id="tile" gradientUnits="userSpaceOnUse" x1="0" y1="0" x2="0" y2="{size}">
      <stop offset="0" stop-color="{hex_colour(TILE_TOP)}"/>
      <stop offset="1" stop-color="{hex_colour(TILE_BOTTOM)}"/>
    </linearGradient>
    <clipPath id="picture">
      <rect {box(*picture_box, 0.05)}/>
    </clipPath>
  </defs>
  <rect {box(0.03, 0.03, 0.97, 0.97, 0.2)} fill="url(#tile)"/>
  <rect {box(0.12, 0.19, 0.88, 0.83, 0.07)} fill="{hex_colour(FRAME)}"/>
  <g clip-path="url(#picture)">
    {body}
    <circle cx="{n(0.34)}" cy="{n(0.42)}" r="{n(0.075)}" fill="{hex_colour(SUN)}" fill-opacity="0.85"/>
    <path d="{hill}" fill="#000000" fill-opacity="{1 - HILLS:.2f}"/>
  </g>
</svg>
"""


def write_theme(folder):
    """The hicolor theme's icons under folder: <size>x<size>/apps/ and scalable/apps/."""
    for size in THEME_SIZES:
        path = folder / "hicolor" / f"{size}x{size}" / "apps" / f"{APP_ID}.png"
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(png_image(render(size)))
    path = folder / "hicolor" / "scalable" / "apps" / f"{APP_ID}.svg"
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(svg_image(), encoding="utf-8")


def main():
    root = Path(__file__).resolve().parent.parent
    if len(sys.argv) > 1 and sys.argv[1] == "--theme":
        write_theme(Path(sys.argv[2]) if len(sys.argv) > 2 else root / "dist" / "icons")
        return
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else root / "data" / "icons" / "vantelle.ico"
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
