#pragma once

#include "core/Picture.h"
#include "engine/PictureFit.h"
#include "engine/Resample.h"
#include "core/PixelMemory.h"

#include <QSize>

#include <cstdint>
#include <memory>
#include <vector>

// The largest JPEG DCT reduction (2, 4 or 8) that still leaves the upright picture at least as
// large as `minimum`, or 1 when none does. `quarterTurned`: the picture's orientation swaps
// width and height.
int ShrinkOnLoadReduction(QSize stored, bool quarterTurned, QSize minimum);

// The size a decoded picture of the given size is kept at for a canvas: a side longer than the
// canvas's is reduced to it as the rows arrive, in one pass of the filter, and the picture
// then lies on the canvas as it is; a shorter side stays as it is, for the stretch to enlarge.
// For a cover fit the proportions are kept: the picture is reduced only as far as it still
// covers the canvas.
QSize ReducedSize(QSize decoded, bool quarterTurned, QSize canvas, PictureFit fit = PictureFit::Stretch);

// The memory a ReducedPicture of the stored size holds, for the decoder to count in what it
// takes from the job: the filter's weights grow with the reduction, so a picture of absurd
// proportions, such as a line of a hundred million pixels, would need gigabytes of them.
std::size_t ReductionBytes(QSize stored, int orientation, QSize canvas, PictureFit fit = PictureFit::Stretch);

// The picture that a decoder's rows flow into, top to bottom as stored: it is reduced as they
// arrive, so the full-size picture is never held, and turned upright (EXIF orientation 1 to
// 8) once complete.
class ReducedPicture {
public:
    ReducedPicture(QSize stored, int orientation, QSize canvas, PictureFit fit = PictureFit::Stretch);

    // The next stored row, 0xffRRGGBB.
    void addRow(const std::uint32_t* row) { resampler_.addRow(row); }
    // The next stored row, 0xAARRGGBB not premultiplied: flattened onto white first.
    void addRowOntoWhite(const std::uint32_t* row);
    // The reduced picture, upright.
    Picture finish();

private:
    QSize size_;
    std::shared_ptr<std::uint32_t[]> pixels_; // every pixel is written by the resampler
    int orientation_;
    RowResampler resampler_;
    std::vector<std::uint32_t> flat_;
};
