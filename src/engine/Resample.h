#pragma once

#include "core/Picture.h"

#include <cstdint>
#include <vector>

// The source samples and fixed-point weights that make up each target sample on one axis:
// a Lanczos-3 window, widened by the reduction when reducing so that fine detail does not
// alias, the same kernel when enlarging. The weights of each target sample add up to exactly
// one; equal sizes give one tap of weight one, an exact copy.
struct ResampleAxis {
    std::vector<int> first;   // first source index per target index
    std::vector<int> count;   // number of taps per target index
    std::vector<int> weights; // taps of target i at [i * maxTaps, i * maxTaps + count[i])
    int maxTaps = 0;

    ResampleAxis(int sourceSize, int targetSize);
    int last(int target) const { return first[static_cast<std::size_t>(target)] + count[static_cast<std::size_t>(target)] - 1; }
};

// Resamples a picture that arrives one row at a time, top to bottom, onto the rows
// [firstRow, endRow) of a target. Each source row is filtered across as it comes, and a
// target row is made as soon as the last source row under it has arrived, so only as many
// filtered rows as the vertical filter has taps are ever kept: a decoder can feed it a
// picture far larger than memory would hold whole.
class RowResampler {
public:
    RowResampler(int sourceWidth, int sourceHeight, const Surface& target);
    RowResampler(int sourceWidth, int sourceHeight, const Surface& target, int firstRow, int endRow);

    // The next source row: sourceWidth pixels 0xffRRGGBB.
    void addRow(const std::uint32_t* row);
    // Whether all the target rows have been made.
    bool finished() const { return nextTarget_ >= endTarget_; }

private:
    using Channels = std::int32_t __attribute__((vector_size(16)));

    void filterAcross(const std::uint32_t* row, Channels* out) const;
    void makeTargetRow(int ty);
    Channels* ringRow(int sourceRow) { return &ring_[static_cast<std::size_t>(sourceRow % ringRows_) * static_cast<std::size_t>(target_.width)]; }

    ResampleAxis across_;
    ResampleAxis down_;
    Surface target_;
    int sourceWidth_;
    bool copies_; // same size on both axes
    int nextSource_ = 0;
    int nextTarget_;
    int endTarget_;
    int firstNeeded_ = 0;
    int lastNeeded_ = -1;
    int ringRows_;
    std::vector<Channels> ring_;
    std::vector<Channels> sum_;
};

// Stretches the whole picture onto the target, ignoring its aspect ratio, with the filter
// above; the result is clamped to 0..255, since the window's negative lobes overshoot at
// sharp edges.
void StretchPicture(const Picture& source, const Surface& target);
