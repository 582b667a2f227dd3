#!/usr/bin/python3
# Debian's interpreter on purpose: Pillow and numpy come from Debian's python3-pil and
# python3-numpy (scripts/install-deps.sh --with-tools), not from a private Python.
"""How sharp and how free of moire the stretch to the canvas is, for vantelle-blend and for
libvips's C interface (bench_vips_blend):

  bench/quality.py --blend build/src/vantelle-blend --vips-blend build/bench/bench_vips_blend \
      --inputs build/bench-inputs PICTURE...

Every picture is blended with itself (a left-side band from 0), which leaves only decoding,
shrinking, stretching and encoding, and the result is compared with the reference: the picture
decoded at full size by Pillow and resized to 729 x 425 with Pillow's Lanczos filter in floating
point, each channel on its own. Measured:
  - PSNR of each PICTURE (the 24 MP camera-like pair of bench/compare.sh) and of all of them
    together, against the reference;
  - a zone plate (made here, 6000 x 4000 grey, as a JPEG at quality 100 with 4:4:4 and as a PNG):
    the RMSE against the reference in its pass band and the deviation in its stop band;
  - period-3 vertical stripes (made here, 6000 x 4000, JPEG and PNG likewise): the standard
    deviation of the result, which ideally is flat.
"""

import argparse
import math
import os
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image

CANVAS = (729, 425)
SOURCE = (6000, 4000)
# Output pixels left out at each edge of every measured region: how a filter treats the
# picture's edge is not what these figures are about.
BORDER = 3

# The zone plate is 128 + 127 cos(K r^2), r the distance in source pixels from the centre. Its
# local frequency is K r / pi cycles per source pixel, radially; K makes it reach the source's
# own Nyquist frequency (0.5) at the corners, so the source itself holds no aliasing.
ZONE_K = math.pi * 0.5 / math.hypot(SOURCE[0] / 2, SOURCE[1] / 2)


def zone_plate_frequency():
    """Per output pixel, the zone plate's local frequency there as a fraction of the output's
    Nyquist frequency, along x and along y (the stretch scales the two axes differently)."""
    sx, sy = CANVAS[0] / SOURCE[0], CANVAS[1] / SOURCE[1]
    # Output pixel centres mapped back into source coordinates, relative to the centre.
    dx = (np.arange(CANVAS[0]) + 0.5) / sx - SOURCE[0] / 2
    dy = (np.arange(CANVAS[1]) + 0.5) / sy - SOURCE[1] / 2
    # Source cycles per pixel K d / pi; output cycles per pixel divide by the scale; the
    # output's Nyquist frequency is 0.5 cycles per output pixel.
    u = np.abs(ZONE_K * dx / math.pi / sx) / 0.5
    v = np.abs(ZONE_K * dy / math.pi / sy) / 0.5
    return np.meshgrid(u, v)


def interior():
    mask = np.zeros((CANVAS[1], CANVAS[0]), bool)
    mask[BORDER:-BORDER, BORDER:-BORDER] = True
    return mask


def zone_plate_regions():
    """Pass band: below half the output's Nyquist frequency along both axes, where a good
    filter keeps the pattern as the reference does. Stop band: above the output's Nyquist
    frequency along either axis, where no separable stretch can show the pattern and the ideal
    result is flat grey."""
    u, v = zone_plate_frequency()
    inner = interior()
    return inner & (u < 0.5) & (v < 0.5), inner & ((u > 1) | (v > 1))


def make_zone_plate():
    x = np.arange(SOURCE[0]) + 0.5 - SOURCE[0] / 2
    y = np.arange(SOURCE[1]) + 0.5 - SOURCE[1] / 2
    r2 = x[np.newaxis, :] ** 2 + y[:, np.newaxis] ** 2
    return np.rint(128 + 127 * np.cos(ZONE_K * r2)).astype(np.uint8)


def make_stripes():
    """Vertical stripes one white column in three: a frequency of 1/3 cycle per source pixel,
    far above the output's Nyquist frequency, so the ideal result is flat grey at 85."""
    row = np.where(np.arange(SOURCE[0]) % 3 == 2, 255, 0).astype(np.uint8)
    return np.tile(row, (SOURCE[1], 1))


def save_pattern(grey, folder, name):
    """Saves a grey pattern as a three-channel JPEG at quality 100 without chroma subsampling
    and as a grey PNG, once; returns both paths."""
    jpeg, png = os.path.join(folder, name + ".jpg"), os.path.join(folder, name + ".png")
    if not os.path.exists(jpeg):
        Image.fromarray(grey).convert("RGB").save(jpeg, quality=100, subsampling=0)
    if not os.path.exists(png):
        Image.fromarray(grey).save(png)
    return jpeg, png


def reference(path):
    """The picture decoded at full size and resized channel by channel in floating point."""
    with Image.open(path) as picture:
        channels = picture.convert("RGB").split()
    return np.dstack([np.asarray(c.convert("F").resize(CANVAS, Image.LANCZOS)) for c in channels])


def self_blend(tool, path, work):
    out = os.path.join(work, "result.jpg")
    subprocess.run([tool, path, path, out], check=True, stdout=subprocess.DEVNULL)
    with Image.open(out) as result:
        if result.size != CANVAS:
            sys.exit(f"quality.py: {tool} made {result.size}, not {CANVAS}")
        return np.asarray(result.convert("RGB"), dtype=np.float64)


def psnr(mse):
    return 10 * math.log10(255 ** 2 / mse)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--blend", required=True, help="vantelle-blend")
    parser.add_argument("--vips-blend", required=True, help="bench_vips_blend")
    parser.add_argument("--inputs", required=True, help="folder for the patterns made here")
    parser.add_argument("pictures", nargs="+", help="pictures for the PSNR")
    args = parser.parse_args()
    tools = {"vantelle-blend": args.blend, "libvips C": args.vips_blend}

    zone = save_pattern(make_zone_plate(), args.inputs, "zone-plate")
    stripes = save_pattern(make_stripes(), args.inputs, "stripes-3")
    pass_band, stop_band = zone_plate_regions()
    inner = interior()

    rows = []  # (measure, {tool: value}, value of the reference itself or None)
    with tempfile.TemporaryDirectory() as work:
        errors = {tool: [] for tool in tools}
        for path in args.pictures:
            ref = reference(path)
            values = {}
            for tool, program in tools.items():
                mse = np.mean((self_blend(program, path, work) - ref)[inner] ** 2)
                errors[tool].append(mse)
                values[tool] = psnr(mse)
            rows.append((f"PSNR dB, {os.path.basename(path)}", values, None))
        rows.append(("PSNR dB, all pictures", {t: psnr(np.mean(e)) for t, e in errors.items()}, None))

        for path in zone:
            ref = reference(path)
            results = {tool: self_blend(program, path, work) for tool, program in tools.items()}
            kind = os.path.splitext(path)[1][1:].upper()
            rows.append((f"zone plate {kind}: pass-band RMSE",
                         {t: math.sqrt(np.mean((r - ref)[pass_band] ** 2)) for t, r in results.items()},
                         None))
            rows.append((f"zone plate {kind}: stop-band deviation",
                         {t: float(np.std(r[stop_band])) for t, r in results.items()},
                         float(np.std(ref[stop_band]))))
        for path in stripes:
            ref = reference(path)
            kind = os.path.splitext(path)[1][1:].upper()
            rows.append((f"period-3 stripes {kind}: deviation",
                         {t: float(np.std(self_blend(p, path, work)[inner])) for t, p in tools.items()},
                         float(np.std(ref[inner]))))

    print(f"\nQuality of a self-blend against Pillow's Lanczos in floating point "
          f"(interior, {BORDER} px border left out):\n")
    header = ["measure"] + list(tools) + ["reference itself"]
    print(f"{header[0]:<40}" + "".join(f"{h:>17}" for h in header[1:]))
    for measure, values, own in rows:
        cells = [f"{values[t]:17.2f}" for t in tools] + [f"{own:17.2f}" if own is not None else f"{'':>17}"]
        print(f"{measure:<40}" + "".join(cells))


if __name__ == "__main__":
    main()
