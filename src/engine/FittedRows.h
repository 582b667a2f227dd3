#pragma once

#include "core/StopFlag.h"
#include "engine/PictureFit.h"
#include "engine/Resample.h"

#include <cstddef>
#include <cstdint>

// Hands on the rows of a resampled picture that lie in the shown part, in the target's rows
// and columns.
class ShownRows : public RowSink {
public:
    ShownRows(PixelRect shown, RowSink& target) : shown_(shown), target_(target) {}
    void takeRow(int y, const std::uint32_t* row) override { target_.takeRow(y - shown_.y, row + shown_.x); }

private:
    PixelRect shown_;
    RowSink& target_;
};

// The memory that resampling a picture of the source size by the scale holds: the
// resampler's, and the row it makes.
std::size_t FittedRowsBytes(int sourceWidth, int sourceHeight, const FittedScale& scale);

// A resampler that brings a picture arriving a row at a time, top to bottom, to the scale,
// handing each row of the shown part to the sink as soon as it is made, in the target's rows
// and columns. `shown` must outlive it.
RowResampler FittedResampler(int sourceWidth, int sourceHeight, const FittedScale& scale, ShownRows& shown);

// Hands every row of a picture that is already whole through the fit to the sink. A set stop
// flag ends it before the next row by throwing Stopped.
void HandFittedRows(const Picture& picture, int targetWidth, int targetHeight, PictureFit fit, RowSink& sink,
                    const StopFlag* stop);
