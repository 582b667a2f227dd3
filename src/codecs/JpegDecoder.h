#pragma once

#include "core/Picture.h"
#include "codecs/DecodeRequest.h"

// Decodes a JPEG through libjpeg, scanline by scanline at the DCT scale that leaves the
// upright picture at least two and a half times the canvas, into a reduced picture turned upright by its
// EXIF orientation. Baseline, progressive, arithmetic-coded, greyscale, CMYK and YCCK files are
// read; a file that ends before its picture does is refused, as are files beyond the budgets.
Picture DecodeJpeg(const DecodeRequest& request);
