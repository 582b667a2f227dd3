#include "engine/Resample.h"

#include "core/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr int WeightBits = 14;
constexpr int WeightOne = 1 << WeightBits;
// The rows filtered across keep six bits more than a byte, so the two roundings do not add up.
constexpr int BetweenBits = 6;
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

ResampleAxis::ResampleAxis(int sourceSize, int targetSize)
{
    first.resize(static_cast<std::size_t>(targetSize));
    count.resize(static_cast<std::size_t>(targetSize));
    if (sourceSize == targetSize) {
        maxTaps = 1;
        for (int i = 0; i < targetSize; ++i) {
            first[static_cast<std::size_t>(i)] = i;
            count[static_cast<std::size_t>(i)] = 1;
        }
        weights.assign(static_cast<std::size_t>(targetSize), WeightOne);
        return;
    }
    const double scale = static_cast<double>(targetSize) / sourceSize;
    const double widening = scale < 1 ? 1 / scale : 1.0;
    const double radius = Lobes * widening;
    maxTaps = static_cast<int>(std::ceil(radius)) * 2 + 1;
    weights.assign(static_cast<std::size_t>(targetSize) * static_cast<std::size_t>(maxTaps), 0);

    std::vector<double> raw(static_cast<std::size_t>(maxTaps));
    for (int i = 0; i < targetSize; ++i) {
        // Positions measured from the left edge of the first sample.
        const double centre = (i + 0.5) / scale;
        const int lo = std::max(0, static_cast<int>(centre - radius + 0.5));
        const int end = std::min({sourceSize, static_cast<int>(centre + radius + 0.5), lo + maxTaps});
        double sum = 0;
        for (int s = lo; s < end; ++s) {
            raw[static_cast<std::size_t>(s - lo)] = lanczos((s + 0.5 - centre) / widening);
            sum += raw[static_cast<std::size_t>(s - lo)];
        }
        // Fixed-point weights that add up to exactly one, the remainder on the largest tap.
        int* w = &weights[static_cast<std::size_t>(i) * static_cast<std::size_t>(maxTaps)];
        int total = 0, largest = 0;
        for (int k = 0; k < end - lo; ++k) {
            w[k] = static_cast<int>(std::lround(raw[static_cast<std::size_t>(k)] / sum * WeightOne));
            total += w[k];
            if (w[k] > w[largest])
                largest = k;
        }
        w[largest] += WeightOne - total;
        first[static_cast<std::size_t>(i)] = lo;
        count[static_cast<std::size_t>(i)] = end - lo;
    }
}

RowResampler::RowResampler(int sourceWidth, int sourceHeight, const Surface& target)
    : RowResampler(sourceWidth, sourceHeight, target, 0, target.height)
{
}

RowResampler::RowResampler(int sourceWidth, int sourceHeight, const Surface& target, int firstRow, int endRow)
    : across_(sourceWidth, target.width), down_(sourceHeight, target.height), target_(target),
      sourceWidth_(sourceWidth), copies_(sourceWidth == target.width && sourceHeight == target.height),
      nextTarget_(firstRow), endTarget_(endRow), ringRows_(down_.maxTaps)
{
    if (firstRow < endRow) {
        firstNeeded_ = down_.first[static_cast<std::size_t>(firstRow)];
        lastNeeded_ = down_.last(endRow - 1);
    }
    if (!copies_) {
        ring_.resize(static_cast<std::size_t>(ringRows_) * static_cast<std::size_t>(target.width));
        sum_.resize(static_cast<std::size_t>(target.width));
    }
}

void RowResampler::addRow(const std::uint32_t* row)
{
    const int y = nextSource_++;
    if (y < firstNeeded_ || y > lastNeeded_)
        return;
    if (copies_) {
        std::memcpy(target_.row(y), row, static_cast<std::size_t>(sourceWidth_) * sizeof(std::uint32_t));
        ++nextTarget_;
        return;
    }
    filterAcross(row, ringRow(y));
    while (nextTarget_ < endTarget_ && down_.last(nextTarget_) <= y)
        makeTargetRow(nextTarget_++);
}

// The blue, green, red and unused bytes of each pixel, widened into one vector (a GCC and
// Clang extension that maps onto the machine's SIMD registers), so the four channels are
// filtered at once.
void RowResampler::filterAcross(const std::uint32_t* row, Channels* out) const
{
    using Bytes = std::uint8_t __attribute__((vector_size(4)));
    constexpr int Shift = WeightBits - BetweenBits;
    const Channels half = {1 << (Shift - 1), 1 << (Shift - 1), 1 << (Shift - 1), 1 << (Shift - 1)};
    for (int tx = 0; tx < target_.width; ++tx) {
        const std::size_t x = static_cast<std::size_t>(tx);
        const std::uint32_t* in = row + across_.first[x];
        const int* w = &across_.weights[x * static_cast<std::size_t>(across_.maxTaps)];
        Channels sum = half;
        for (int k = 0; k < across_.count[x]; ++k) {
            Bytes bytes;
            std::memcpy(&bytes, in + k, sizeof bytes);
            sum += w[k] * __builtin_convertvector(bytes, Channels);
        }
        out[x] = sum >> Shift;
    }
}

void RowResampler::makeTargetRow(int ty)
{
    const std::size_t width = static_cast<std::size_t>(target_.width);
    const int first = down_.first[static_cast<std::size_t>(ty)];
    const int* w = &down_.weights[static_cast<std::size_t>(ty) * static_cast<std::size_t>(down_.maxTaps)];
    constexpr int Shift = WeightBits + BetweenBits;
    const Channels half = {1 << (Shift - 1), 1 << (Shift - 1), 1 << (Shift - 1), 1 << (Shift - 1)};
    const Channels* in = ringRow(first);
    for (std::size_t x = 0; x < width; ++x)
        sum_[x] = half + w[0] * in[x];
    for (int k = 1; k < down_.count[static_cast<std::size_t>(ty)]; ++k) {
        in = ringRow(first + k);
        for (std::size_t x = 0; x < width; ++x)
            sum_[x] += w[k] * in[x];
    }
    std::uint32_t* out = target_.row(ty);
    for (std::size_t x = 0; x < width; ++x) {
        const Channels v = sum_[x] >> Shift;
        const auto channel = [](std::int32_t c) { return static_cast<std::uint32_t>(std::clamp(c, 0, 255)); };
        out[x] = 0xff000000u | channel(v[0]) | channel(v[1]) << 8 | channel(v[2]) << 16;
    }
}

void StretchPicture(const Picture& source, const Surface& target)
{
    if (source.isNull() || target.width <= 0 || target.height <= 0)
        return;
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
