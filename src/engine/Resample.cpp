#include "engine/Resample.h"

#include "core/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr int WeightOne = 1 << ResampleWeightBits;
constexpr double Lobes = 3;

double sinc(double x)
{
    if (x == 0)
        return 1;
    x *= std::numbers::pi;
    return std::sin(x) / x;
}

double lanczos(double x)
{
    return std::abs(x) < Lobes ? sinc(x) * sinc(x / Lobes) : 0.0;
}

} // namespace

int ResampleAxis::TapsFor(int sourceSize, int targetSize)
{
    if (sourceSize == targetSize)
        return 2;
    const double scale = static_cast<double>(targetSize) / sourceSize;
    const double widening = scale < 1 ? 1 / scale : 1.0;
    // An even number of weights per target, so that taps go in pairs.
    return static_cast<int>(std::ceil(Lobes * widening)) * 2 + 2;
}

ResampleAxis::ResampleAxis(int sourceSize, int targetSize)
{
    first.resize(static_cast<std::size_t>(targetSize));
    count.resize(static_cast<std::size_t>(targetSize));
    maxTaps = TapsFor(sourceSize, targetSize);
    if (sourceSize == targetSize) {
        weights.assign(static_cast<std::size_t>(targetSize) * 2, 0);
        for (int i = 0; i < targetSize; ++i) {
            first[static_cast<std::size_t>(i)] = i;
            count[static_cast<std::size_t>(i)] = 1;
            weights[static_cast<std::size_t>(i) * 2] = WeightOne;
        }
        return;
    }
    const double scale = static_cast<double>(targetSize) / sourceSize;
    const double widening = scale < 1 ? 1 / scale : 1.0;
    const double radius = Lobes * widening;
    weights.assign(static_cast<std::size_t>(targetSize) * static_cast<std::size_t>(maxTaps), 0);

    std::vector<double> raw(static_cast<std::size_t>(maxTaps));
    for (int i = 0; i < targetSize; ++i) {
        // Positions measured from the left edge of the first sample.
        const double centre = (i + 0.5) / scale;
        const int lo = std::max(0, static_cast<int>(centre - radius + 0.5));
        const int end = std::min({sourceSize, static_cast<int>(centre + radius + 0.5), lo + maxTaps - 1});
        double sum = 0;
        for (int s = lo; s < end; ++s) {
            raw[static_cast<std::size_t>(s - lo)] = lanczos((s + 0.5 - centre) / widening);
            sum += raw[static_cast<std::size_t>(s - lo)];
        }
        // Fixed-point weights that add up to exactly one, the remainder on the largest tap.
        std::int16_t* w = &weights[static_cast<std::size_t>(i) * static_cast<std::size_t>(maxTaps)];
        int total = 0, largest = 0;
        for (int k = 0; k < end - lo; ++k) {
            w[k] = static_cast<std::int16_t>(std::lround(raw[static_cast<std::size_t>(k)] / sum * WeightOne));
            total += w[k];
            if (w[k] > w[largest])
                largest = k;
        }
        w[largest] = static_cast<std::int16_t>(w[largest] + WeightOne - total);
        first[static_cast<std::size_t>(i)] = lo;
        count[static_cast<std::size_t>(i)] = end - lo;
    }
}

RowResampler::RowResampler(int sourceWidth, int sourceHeight, const Surface& target)
    : RowResampler(sourceWidth, sourceHeight, target, 0, target.height)
{
}

RowResampler::RowResampler(int sourceWidth, int sourceHeight, const Surface& target, int firstRow, int endRow,
                           ResampleKernels kernels)
    : across_(sourceWidth, target.width), down_(sourceHeight, target.height), kernels_(kernels), target_(target),
      sourceWidth_(sourceWidth), copies_(sourceWidth == target.width && sourceHeight == target.height),
      nextTarget_(firstRow), endTarget_(endRow), ringRows_(down_.maxTaps),
      ringWidth_(static_cast<std::size_t>(target.width + 1) / 2 * 2)
{
    if (firstRow < endRow) {
        firstNeeded_ = down_.first[static_cast<std::size_t>(firstRow)];
        lastNeeded_ = down_.last(endRow - 1);
    }
    if (!copies_) {
        ring_.resize(static_cast<std::size_t>(ringRows_) * ringWidth_ * FilteredChannels);
        tapRows_.resize(static_cast<std::size_t>(down_.maxTaps));
    }
}

RowResampler::RowResampler(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight, int firstRow, int endRow,
                           RowSink& sink)
    : RowResampler(sourceWidth, sourceHeight, Surface{nullptr, targetWidth, targetHeight, 0}, firstRow, endRow)
{
    sink_ = &sink;
    if (!copies_)
        made_.resize(static_cast<std::size_t>(targetWidth));
}

std::size_t RowResampler::BytesNeeded(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight)
{
    const auto axis = [](int source, int target) {
        return static_cast<std::size_t>(target) * (static_cast<std::size_t>(ResampleAxis::TapsFor(source, target)) * sizeof(std::int16_t) + 2 * sizeof(int));
    };
    const std::size_t ringRows = static_cast<std::size_t>(ResampleAxis::TapsFor(sourceHeight, targetHeight));
    const std::size_t ringWidth = static_cast<std::size_t>(targetWidth + 1) / 2 * 2;
    return axis(sourceWidth, targetWidth) + axis(sourceHeight, targetHeight)
           + ringRows * (ringWidth * FilteredChannels * sizeof(std::int16_t) + sizeof(const std::int16_t*));
}

void RowResampler::addRow(const std::uint32_t* row)
{
    const int y = nextSource_++;
    if (y < firstNeeded_ || y > lastNeeded_)
        return;
    if (copies_) {
        if (sink_)
            sink_->takeRow(y, row);
        else
            std::memcpy(target_.row(y), row, static_cast<std::size_t>(sourceWidth_) * sizeof(std::uint32_t));
        ++nextTarget_;
        return;
    }
    kernels_.across(across_, row, ringRow(y));
    while (nextTarget_ < endTarget_ && down_.last(nextTarget_) <= y)
        makeTargetRow(nextTarget_++);
}

void RowResampler::makeTargetRow(int ty)
{
    const int first = down_.first[static_cast<std::size_t>(ty)];
    const int count = down_.count[static_cast<std::size_t>(ty)];
    for (int k = 0; k < count; ++k)
        tapRows_[static_cast<std::size_t>(k)] = ringRow(first + k);
    std::uint32_t* out = sink_ ? made_.data() : target_.row(ty);
    kernels_.down(tapRows_.data(), &down_.weights[static_cast<std::size_t>(ty) * static_cast<std::size_t>(down_.maxTaps)], count,
                  target_.width, out);
    if (sink_)
        sink_->takeRow(ty, out);
}

void StretchPicture(const Picture& source, const Surface& target)
{
    if (source.isNull() || target.width <= 0 || target.height <= 0)
        return;
    if (source.width == target.width && source.height == target.height) {
        // A decoded picture mostly arrives at the canvas's size: copying it takes less time
        // than starting a thread.
        for (int y = 0; y < target.height; ++y)
            std::memcpy(target.row(y), source.row(y), static_cast<std::size_t>(target.width) * sizeof(std::uint32_t));
        return;
    }
    // Target rows do not depend on each other: the two halves are made at the same time,
    // each from the source rows under it, with the same result as one after the other.
    const auto stretchRows = [&](int firstRow, int endRow) {
        RowResampler resampler(source.width, source.height, target, firstRow, endRow);
        for (int y = 0; y < source.height && !resampler.finished(); ++y)
            resampler.addRow(source.row(y));
    };
    const int half = target.height / 2;
    RunBoth([&] { stretchRows(0, half); }, [&] { stretchRows(half, target.height); });
}
