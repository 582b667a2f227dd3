#pragma once

#include "core/Picture.h"
#include "engine/ResampleKernels.h"

#include <cstdint>
#include <vector>

// The source samples and fixed-point weights that make up each target sample on one axis:
// a Lanczos-3 window, widened by the reduction when reducing so that fine detail does not
// alias, the same kernel when enlarging. The weights of each target sample add up to exactly
// one; equal sizes give one tap of weight one, an exact copy.
// The weights are 16-bit, so that two taps take one multiply-add of 16-bit pairs into 32-bit
// sums; each target's row of weights has an even length, padded with zeros.
struct ResampleAxis {
    std::vector<int> first;            // first source index per target index
    std::vector<int> count;            // number of taps per target index
    std::vector<std::int16_t> weights; // taps of target i at [i * maxTaps, i * maxTaps + count[i])
    int maxTaps = 0;

    ResampleAxis(int sourceSize, int targetSize);
    // The taps of every target: the filter's width in source samples, rounded up to even.
    static int TapsFor(int sourceSize, int targetSize);
    int last(int target) const { return first[static_cast<std::size_t>(target)] + count[static_cast<std::size_t>(target)] - 1; }
};

// Where a resampler hands the rows it makes when they are not kept in a picture: an export
// passes each on to its encoder, so the picture at the export's size is never held whole.
class RowSink {
public:
    virtual ~RowSink() = default;
    // Row y of the target, valid for the call only.
    virtual void takeRow(int y, const std::uint32_t* row) = 0;
};

// Resamples a picture that arrives one row at a time, top to bottom, onto the rows
// [firstRow, endRow) of a target, or hands those rows to a sink as they are made. Each source row is filtered across as it comes, and a
// target row is made as soon as the last source row under it has arrived, so only as many
// filtered rows as the vertical filter has taps are ever kept: a decoder can feed it a
// picture far larger than memory would hold whole.
class RowResampler {
public:
    RowResampler(int sourceWidth, int sourceHeight, const Surface& target);
    // `kernels`: the processor's fastest unless given.
    RowResampler(int sourceWidth, int sourceHeight, const Surface& target, int firstRow, int endRow,
                 ResampleKernels kernels = BestResampleKernels());
    RowResampler(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight, int firstRow, int endRow,
                 RowSink& sink);

    // The memory a resampler from the source size to the target size holds: its weights grow
    // with the reduction, so a picture of absurd proportions needs gigabytes of them.
    static std::size_t BytesNeeded(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);

    // The next source row: sourceWidth pixels 0xffRRGGBB.
    void addRow(const std::uint32_t* row);
    // Whether all the target rows have been made.
    bool finished() const { return nextTarget_ >= endTarget_; }

private:
    // A pixel filtered across is four 16-bit channels: blue, green, red and the unused byte,
    // six bits more than a byte each, the window's overshoot included.
    static constexpr std::size_t FilteredChannels = 4;

    void makeTargetRow(int ty);
    std::int16_t* ringRow(int sourceRow)
    {
        return &ring_[static_cast<std::size_t>(sourceRow % ringRows_) * ringWidth_ * FilteredChannels];
    }

    ResampleAxis across_;
    ResampleAxis down_;
    ResampleKernels kernels_;
    Surface target_;
    RowSink* sink_ = nullptr;
    std::vector<std::uint32_t> made_; // the row being made for the sink
    int sourceWidth_;
    bool copies_; // same size on both axes
    int nextSource_ = 0;
    int nextTarget_;
    int endTarget_;
    int firstNeeded_ = 0;
    int lastNeeded_ = -1;
    int ringRows_;
    std::size_t ringWidth_; // the target width, even, so that pixels go two at a time
    std::vector<std::int16_t> ring_;
    std::vector<const std::int16_t*> tapRows_; // the ring rows under the target row being made
};

// Stretches the whole picture onto the target, ignoring its aspect ratio, with the filter
// above; the result is clamped to 0..255, since the window's negative lobes overshoot at
// sharp edges.
void StretchPicture(const Picture& source, const Surface& target);
