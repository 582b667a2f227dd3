#!/usr/bin/python3
# Debian's interpreter on purpose: Pillow and numpy come from Debian's python3-pil and
# python3-numpy (scripts/install-deps.sh --with-tools), not from a private Python.
"""How close two pictures of the same size are, for bench/compare.sh to check that two programs
made the same blend:

  bench/psnr.py PICTURE_A PICTURE_B

Prints one line: the PSNR of B against A over every colour channel of every pixel, in dB, and
the largest difference of one channel. Both pictures are held decoded (three bytes a pixel);
their difference is taken a band of rows at a time, so that it adds little to that."""

import math
import sys

import numpy as np
from PIL import Image

# Rows compared at once.
BAND = 256


def main():
    if len(sys.argv) != 3:
        print(__doc__.split("\n\n")[1].strip(), file=sys.stderr)
        return 2
    Image.MAX_IMAGE_PIXELS = None
    a = Image.open(sys.argv[1]).convert("RGB")
    b = Image.open(sys.argv[2]).convert("RGB")
    if a.size != b.size:
        print(f"psnr.py: the sizes differ: {a.size[0]} x {a.size[1]} and {b.size[0]} x {b.size[1]}",
              file=sys.stderr)
        return 1
    width, height = a.size
    squares = 0.0
    largest = 0
    for top in range(0, height, BAND):
        box = (0, top, width, min(top + BAND, height))
        difference = (np.asarray(a.crop(box), np.int32) - np.asarray(b.crop(box), np.int32))
        squares += float(np.sum(difference.astype(np.int64) ** 2))
        largest = max(largest, int(np.max(np.abs(difference))))
    mse = squares / (width * height * 3)
    psnr = math.inf if mse == 0 else 10 * math.log10(255 ** 2 / mse)
    print(f"PSNR {psnr:.2f} dB, largest difference {largest}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
