#include "engine/BoxShrink.h"

#include <algorithm>
#include <cmath>

namespace {

// The rounded mean of `count` values adding up to `sum`, 0 to 255, by a multiplication with
// `inverse` = 1 / count, corrected where rounding leaves it one off.
std::uint32_t roundedMean(std::uint64_t sum, std::uint64_t count, double inverse)
{
    const std::uint64_t half = sum + count / 2;
    auto mean = std::uint64_t(double(half) * inverse);
    if ((mean + 1) * count <= half)
        ++mean;
    else if (mean * count > half)
        --mean;
    return std::uint32_t(mean);
}

} // namespace

void BoxShrink::Boxes::start(std::uint64_t source, std::uint64_t shrunkLength)
{
    shrunk = shrunkLength;
    size = shrunk > 0 ? source / shrunk : 0;
    remainder = shrunk > 0 ? source % shrunk : 0;
    // Box 0 ends at n / s, that is q, and carries r.
    end = size;
    carried = remainder;
}

void BoxShrink::Boxes::next()
{
    const std::uint64_t length = nextLength();
    carried = carried + remainder >= shrunk ? carried + remainder - shrunk : carried + remainder;
    end += length;
}

BoxShrink::BoxShrink(int sourceWidth, int sourceHeight, int factorX, int factorY)
    : sourceWidth_(std::uint64_t(std::max(sourceWidth, 0))), sourceHeight_(std::uint64_t(std::max(sourceHeight, 0))),
      width_(std::uint64_t(ShrunkLength(sourceWidth, factorX))), height_(std::uint64_t(ShrunkLength(sourceHeight, factorY))),
      sums_(width_ * Channels, 0), row_(width_)
{
    across_.start(sourceWidth_, width_);
    down_.start(sourceHeight_, height_);
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
    const std::uint64_t taken = std::min<std::uint64_t>(count, sourceWidth_ - x_);
    if (width_ == sourceWidth_) {
        // Boxes one pixel wide: each pixel adds to its own sums.
        std::uint64_t* sums = &sums_[x_ * Channels];
        for (std::uint64_t i = 0; i < taken; ++i, sums += Channels) {
            const std::uint32_t p = pixels[i];
            sums[0] += p & 0xff;
            sums[1] += (p >> 8) & 0xff;
            sums[2] += (p >> 16) & 0xff;
        }
        x_ += taken;
    } else {
        const std::uint32_t* const end = pixels + taken;
        while (pixels < end) {
            // The part of one box that these pixels cover.
            const std::size_t inBox = std::size_t(std::min<std::uint64_t>(std::uint64_t(end - pixels), across_.end - x_));
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
            if (x_ == across_.end && box_ + 1 < width_) {
                ++box_;
                across_.next();
            }
        }
    }
    if (x_ < sourceWidth_)
        return nullptr;
    rowEnds();
    ++sourceRow_;
    return sourceRow_ == down_.end ? makeRow() : nullptr;
}

const std::uint32_t* BoxShrink::addRowsOf(std::uint32_t colour, int rows)
{
    const std::uint64_t taken = std::min<std::uint64_t>(std::uint64_t(std::max(rows, 0)), down_.end - sourceRow_);
    if (taken == 0 || x_ != 0 || finished())
        return nullptr;
    Boxes boxes;
    boxes.start(sourceWidth_, width_);
    std::uint64_t columnStart = 0;
    for (std::uint64_t box = 0; box < width_; ++box, boxes.next()) {
        const std::uint64_t pixels = (boxes.end - columnStart) * taken;
        std::uint64_t* sums = &sums_[box * Channels];
        for (std::size_t c = 0; c < Channels; ++c)
            sums[c] += ((colour >> (8 * c)) & 0xff) * pixels;
        columnStart = boxes.end;
    }
    sourceRow_ += taken;
    return sourceRow_ == down_.end ? makeRow() : nullptr;
}

void BoxShrink::rowEnds()
{
    x_ = 0;
    box_ = 0;
    across_.start(sourceWidth_, width_);
}

const std::uint32_t* BoxShrink::makeRow()
{
    // The boxes hold one of two numbers of pixels, so two divisions serve the whole row.
    const std::uint64_t rows = down_.end - rowStart_;
    const std::uint64_t small = across_.size * rows, large = (across_.size + 1) * rows;
    const double inverseSmall = small > 0 ? 1.0 / double(small) : 0.0, inverseLarge = 1.0 / double(large);
    Boxes boxes;
    boxes.start(sourceWidth_, width_);
    std::uint64_t columnStart = 0;
    for (std::uint64_t box = 0; box < width_; ++box, boxes.next()) {
        const std::uint64_t count = (boxes.end - columnStart) * rows;
        const double inverse = count == small ? inverseSmall : inverseLarge;
        std::uint64_t* sums = &sums_[box * Channels];
        std::uint32_t pixel = 0xff000000u;
        for (std::size_t c = 0; c < Channels; ++c) {
            pixel |= roundedMean(sums[c], count, inverse) << (8 * c);
            sums[c] = 0;
        }
        row_[box] = pixel;
        columnStart = boxes.end;
    }
    rowStart_ = down_.end;
    down_.next();
    return row_.data();
}
