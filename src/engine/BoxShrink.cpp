#include "engine/BoxShrink.h"

#include <algorithm>

BoxShrink::BoxShrink(int sourceWidth, int sourceHeight, int factorX, int factorY)
    : sourceWidth_(std::uint64_t(std::max(sourceWidth, 0))), sourceHeight_(std::uint64_t(std::max(sourceHeight, 0))),
      width_(std::uint64_t(ShrunkLength(sourceWidth, factorX))), height_(std::uint64_t(ShrunkLength(sourceHeight, factorY))),
      sums_(width_ * Channels, 0), row_(width_)
{
    columnEnd_ = width_ > 0 ? boxEnd(0, sourceWidth_, width_) : 0;
    rowEnd_ = height_ > 0 ? boxEnd(0, sourceHeight_, height_) : 0;
}

int BoxShrink::FactorLeaving(int source, int target, int leave)
{
    const std::int64_t least = std::int64_t(std::max(target, 1)) * std::max(leave, 1);
    return int(std::max<std::int64_t>(1, source / least));
}

int BoxShrink::ShrunkLength(int source, int factor)
{
    if (source <= 0)
        return 0;
    return std::max(1, source / std::max(factor, 1));
}

std::size_t BoxShrink::BytesNeeded(int sourceWidth, int factorX)
{
    return std::size_t(ShrunkLength(sourceWidth, factorX)) * (Channels * sizeof(std::uint64_t) + sizeof(std::uint32_t));
}

const std::uint32_t* BoxShrink::add(const std::uint32_t* pixels, std::size_t count)
{
    if (finished())
        return nullptr;
    const std::uint32_t* const end = pixels + std::min<std::uint64_t>(count, sourceWidth_ - x_);
    while (pixels < end) {
        // The part of one box that these pixels cover.
        const std::size_t inBox = std::size_t(std::min<std::uint64_t>(std::uint64_t(end - pixels), columnEnd_ - x_));
        std::uint64_t blue = 0, green = 0, red = 0;
        for (std::size_t i = 0; i < inBox; ++i) {
            const std::uint32_t p = pixels[i];
            blue += p & 0xff;
            green += (p >> 8) & 0xff;
            red += (p >> 16) & 0xff;
        }
        std::uint64_t* sums = &sums_[box_ * Channels];
        sums[0] += blue;
        sums[1] += green;
        sums[2] += red;
        pixels += inBox;
        x_ += inBox;
        if (x_ == columnEnd_ && box_ + 1 < width_)
            columnEnd_ = boxEnd(++box_, sourceWidth_, width_);
    }
    if (x_ < sourceWidth_)
        return nullptr;
    rowEnds();
    ++sourceRow_;
    return sourceRow_ == rowEnd_ ? makeRow() : nullptr;
}

const std::uint32_t* BoxShrink::addRowsOf(std::uint32_t colour, int rows)
{
    const std::uint64_t taken = std::min<std::uint64_t>(std::uint64_t(std::max(rows, 0)), rowEnd_ - sourceRow_);
    if (taken == 0 || x_ != 0 || finished())
        return nullptr;
    std::uint64_t columnStart = 0;
    for (std::uint64_t box = 0; box < width_; ++box) {
        const std::uint64_t columnEnd = boxEnd(box, sourceWidth_, width_);
        const std::uint64_t pixels = (columnEnd - columnStart) * taken;
        std::uint64_t* sums = &sums_[box * Channels];
        for (std::size_t c = 0; c < Channels; ++c)
            sums[c] += ((colour >> (8 * c)) & 0xff) * pixels;
        columnStart = columnEnd;
    }
    sourceRow_ += taken;
    return sourceRow_ == rowEnd_ ? makeRow() : nullptr;
}

void BoxShrink::rowEnds()
{
    x_ = 0;
    box_ = 0;
    columnEnd_ = width_ > 0 ? boxEnd(0, sourceWidth_, width_) : 0;
}

const std::uint32_t* BoxShrink::makeRow()
{
    const std::uint64_t rows = rowEnd_ - rowStart_;
    std::uint64_t columnStart = 0;
    for (std::uint64_t box = 0; box < width_; ++box) {
        const std::uint64_t columnEnd = boxEnd(box, sourceWidth_, width_);
        const std::uint64_t count = (columnEnd - columnStart) * rows;
        std::uint64_t* sums = &sums_[box * Channels];
        std::uint32_t pixel = 0xff000000u;
        for (std::size_t c = 0; c < Channels; ++c) {
            pixel |= std::uint32_t((sums[c] + count / 2) / count) << (8 * c);
            sums[c] = 0;
        }
        row_[box] = pixel;
        columnStart = columnEnd;
    }
    rowStart_ = rowEnd_;
    if (++shrunkRow_ < height_)
        rowEnd_ = boxEnd(shrunkRow_, sourceHeight_, height_);
    return row_.data();
}
