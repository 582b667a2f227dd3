#include "engine/Resample.h"

#include "core/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int WeightBits = 14;
constexpr int WeightOne = 1 << WeightBits;

// The blue, green, red and unused bytes of a pixel, widened, as one vector (a GCC and Clang
// extension that maps onto the machine's SIMD registers).
using Channels = std::int32_t __attribute__((vector_size(16)));

// The source samples and fixed-point weights that make up each target sample on one axis.
struct AxisFilter {
    std::vector<int> first;   // first source index per target index
    std::vector<int> count;   // number of taps per target index
    std::vector<int> weights; // taps of target i at [i * maxTaps, i * maxTaps + count[i])
    int maxTaps = 0;
};

AxisFilter makeFilter(int sourceSize, int targetSize)
{
    AxisFilter filter;
    const double scale = static_cast<double>(targetSize) / sourceSize;
    const double radius = scale < 1 ? 1 / scale : 1.0;
    filter.maxTaps = static_cast<int>(std::ceil(radius)) * 2 + 1;
    filter.first.resize(static_cast<std::size_t>(targetSize));
    filter.count.resize(static_cast<std::size_t>(targetSize));
    filter.weights.assign(static_cast<std::size_t>(targetSize) * filter.maxTaps, 0);

    std::vector<double> raw(static_cast<std::size_t>(filter.maxTaps));
    for (int i = 0; i < targetSize; ++i) {
        const double centre = (i + 0.5) / scale - 0.5;
        int lo = static_cast<int>(std::ceil(centre - radius));
        int hi = static_cast<int>(std::floor(centre + radius));
        lo = std::max(lo, 0);
        hi = std::min(hi, sourceSize - 1);
        if (hi - lo + 1 > filter.maxTaps)
            hi = lo + filter.maxTaps - 1;
        double sum = 0;
        for (int s = lo; s <= hi; ++s) {
            const double w = std::max(0.0, 1 - std::abs(s - centre) / radius);
            raw[static_cast<std::size_t>(s - lo)] = w;
            sum += w;
        }
        if (sum <= 0) { // a target sample between source samples at the very edge
            lo = hi = std::clamp(static_cast<int>(std::lround(centre)), 0, sourceSize - 1);
            raw[0] = sum = 1;
        }
        // Fixed-point weights that add up to exactly one, the remainder on the largest tap.
        int* w = &filter.weights[static_cast<std::size_t>(i) * filter.maxTaps];
        int total = 0, largest = 0;
        for (int s = lo; s <= hi; ++s) {
            const int k = s - lo;
            w[k] = static_cast<int>(std::lround(raw[static_cast<std::size_t>(k)] / sum * WeightOne));
            total += w[k];
            if (w[k] > w[largest])
                largest = k;
        }
        w[largest] += WeightOne - total;
        filter.first[static_cast<std::size_t>(i)] = lo;
        filter.count[static_cast<std::size_t>(i)] = hi - lo + 1;
    }
    return filter;
}

// Target rows [firstRow, endRow). Rows first, one target row at a time, so only one
// intermediate row is kept. Both passes work on the four bytes of each pixel alike, which the
// compiler vectorises; the intermediate row keeps six bits more than a byte so the two
// roundings do not add up.
void stretchRows(const Picture& source, const Surface& target, const AxisFilter& vertical,
                 const AxisFilter& horizontal, int firstRow, int endRow)
{
    constexpr int BetweenBits = 6;
    const std::size_t rowBytes = static_cast<std::size_t>(source.width) * 4;
    std::vector<std::int32_t> acc(rowBytes);
    std::vector<std::int32_t> between(rowBytes);
    for (int ty = firstRow; ty < endRow; ++ty) {
        const int first = vertical.first[static_cast<std::size_t>(ty)];
        const int* w = &vertical.weights[static_cast<std::size_t>(ty) * vertical.maxTaps];
        for (int k = 0; k < vertical.count[static_cast<std::size_t>(ty)]; ++k) {
            const auto* in = reinterpret_cast<const std::uint8_t*>(source.row(first + k));
            // 16-bit factors with a 32-bit product: one widening multiply per lane.
            const auto weight = static_cast<std::int16_t>(w[k]);
            if (k == 0) {
                for (std::size_t i = 0; i < rowBytes; ++i)
                    acc[i] = weight * static_cast<std::int16_t>(in[i]);
            } else {
                for (std::size_t i = 0; i < rowBytes; ++i)
                    acc[i] += weight * static_cast<std::int16_t>(in[i]);
            }
        }
        for (std::size_t i = 0; i < rowBytes; ++i)
            between[i] = (acc[i] + (1 << (WeightBits - BetweenBits - 1))) >> (WeightBits - BetweenBits);

        std::uint32_t* out = target.row(ty);
        for (int tx = 0; tx < target.width; ++tx) {
            const std::size_t x = static_cast<std::size_t>(tx);
            const std::int32_t* in = &between[static_cast<std::size_t>(horizontal.first[x]) * 4];
            const int* hw = &horizontal.weights[x * horizontal.maxTaps];
            // The four channels of a pixel as one vector.
            Channels sum = {1 << (WeightBits + BetweenBits - 1), 1 << (WeightBits + BetweenBits - 1),
                            1 << (WeightBits + BetweenBits - 1), 1 << (WeightBits + BetweenBits - 1)};
            for (int k = 0; k < horizontal.count[x]; ++k) {
                Channels pixel;
                std::memcpy(&pixel, in + k * 4, sizeof pixel);
                sum += hw[k] * pixel;
            }
            // The weights are never negative and add up to one, so every channel stays
            // within 0..255.
            sum >>= WeightBits + BetweenBits;
            out[tx] = 0xff000000u | static_cast<std::uint32_t>(sum[0]) | static_cast<std::uint32_t>(sum[1]) << 8
                      | static_cast<std::uint32_t>(sum[2]) << 16;
        }
    }
}

} // namespace

void StretchPicture(const Picture& source, const Surface& target)
{
    if (source.isNull() || target.width <= 0 || target.height <= 0)
        return;
    if (source.width == target.width && source.height == target.height) {
        for (int y = 0; y < target.height; ++y)
            std::copy_n(source.row(y), target.width, target.row(y));
        return;
    }
    const AxisFilter vertical = makeFilter(source.height, target.height);
    const AxisFilter horizontal = makeFilter(source.width, target.width);

    // Target rows do not depend on each other: the two halves are made at the same time,
    // with the same result as one after the other.
    const int half = target.height / 2;
    RunBoth([&] { stretchRows(source, target, vertical, horizontal, 0, half); },
            [&] { stretchRows(source, target, vertical, horizontal, half, target.height); });
}
