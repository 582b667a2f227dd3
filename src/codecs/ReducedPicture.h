#pragma once

#include "core/Picture.h"
#include "engine/PictureFit.h"
#include "engine/BoxShrink.h"
#include "engine/FittedRows.h"
#include "engine/Resample.h"
#include "core/PixelMemory.h"

#include <QSize>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// Whether an EXIF orientation (1 to 8) swaps the stored width and height.
bool TurnsAQuarter(int orientation);

// The largest JPEG DCT reduction (2, 4 or 8) that still leaves the upright picture at least as
// large as `minimum`, or 1 when none does. `quarterTurned`: the picture's orientation swaps
// width and height.
int ShrinkOnLoadReduction(QSize stored, bool quarterTurned, QSize minimum);

// The size a decoded picture of the given size is kept at for a canvas: a side longer than the
// canvas's is reduced to it as the rows arrive, and the picture then lies on the canvas as it
// is; a shorter side stays as it is, for the stretch to enlarge. For a cover fit the
// proportions are kept: the picture is reduced only as far as it still covers the canvas.
QSize ReducedSize(QSize decoded, bool quarterTurned, QSize canvas, PictureFit fit = PictureFit::Stretch);

// The memory a ReducedPicture of the stored size holds, for the decoder to count in what it
// takes from the job.
std::size_t ReductionBytes(QSize stored, int orientation, QSize canvas, PictureFit fit = PictureFit::Stretch);

// The picture that a decoder's rows flow into, top to bottom as stored: it is reduced as they
// arrive, so the full-size picture is never held, and turned upright (EXIF orientation 1 to
// 8) once complete. A side reduced by up to twice FilterReduction times goes through the filter
// alone, in one pass; a longer one is first shrunk by a whole factor in boxes, which leaves the
// filter between FilterReduction and twice that: its weights then stay under a hundred a pixel
// whatever the proportions, where a line of forty million pixels asked for half a gigabyte.
class ReducedPicture {
public:
    // Once the JPEG scaling has taken its share, photos up to 5:1 across and 16:9 upright stay
    // below twice this, so their pixels are those of the filter alone; and with eight times left
    // for the filter, the detail a box folds back into the band the filter keeps is a few
    // percent.
    static constexpr int FilterReduction = 8;

    ReducedPicture(QSize stored, int orientation, QSize canvas, PictureFit fit = PictureFit::Stretch);
    // The rows of a picture stored top to bottom brought to exactly `target` by the fit and
    // handed to the sink as they are made: nothing of the picture is held but the rows under
    // the filter.
    ReducedPicture(QSize stored, QSize target, PictureFit fit, RowSink& sink);
    // The memory the second form holds.
    static std::size_t StreamingBytes(QSize stored, QSize target, PictureFit fit);

    // The next stored row, 0xffRRGGBB.
    void addRow(const std::uint32_t* row) { addPixels(row, storedWidth_); }
    // The next stored row, 0xAARRGGBB not premultiplied: flattened onto white first.
    void addRowOntoWhite(const std::uint32_t* row) { addPixelsOntoWhite(row, storedWidth_); }
    // The next `count` stored pixels, row after row, for a decoder that makes its rows in
    // pieces: 0xffRRGGBB, or 0xAARRGGBB to be flattened onto white.
    void addPixels(const std::uint32_t* pixels, std::size_t count);
    void addPixelsOntoWhite(const std::uint32_t* pixels, std::size_t count);
    // `rows` whole stored rows of one colour, 0xffRRGGBB, from the start of a row: what a
    // decoder's jumps over empty rows make, at the cost of a few rows however many they are.
    void addRowsOf(std::uint32_t colour, std::size_t rows);
    // The reduced picture, upright; a null one when the rows went to a sink.
    Picture finish();

private:
    ReducedPicture(QSize stored, const FittedScale& scale, RowSink& sink);
    void prepareRows(QSize stored);

    // Room for up to `wanted` of the next pixels of the current row, to be written and handed
    // on by commit(): the gathered row's place when the filter takes whole rows, else a piece
    // for the box shrink.
    std::span<std::uint32_t> room(std::size_t wanted);
    void commit(std::size_t count);
    bool complete() const { return box_ ? box_->finished() : resampler_.finished(); }

    QSize size_;
    QSize boxFactors_;
    std::shared_ptr<std::uint32_t[]> pixels_; // every pixel is written by the resampler; none for a sink
    int orientation_;
    std::size_t storedWidth_;
    std::optional<BoxShrink> box_;
    std::unique_ptr<ShownRows> shown_; // where the rows go when they are not kept
    RowResampler resampler_;
    std::vector<std::uint32_t> pending_; // the row gathered for the filter, or a piece for the box
    std::size_t rowAt_ = 0;             // pixels of the current row handed on
};
