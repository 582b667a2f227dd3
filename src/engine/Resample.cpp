#include "engine/Resample.h"

#include "core/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include <emmintrin.h>

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

// The filters below work on 16-bit samples and weights, two taps to one multiply-add of 16-bit
// pairs into 32-bit sums (SSE2's pmaddwd), which are exact: the sums are those of plain integer
// arithmetic. Everything fits: no weight reaches 1.3 (21063 of 16384, enlarging a picture of
// a few pixels), nor do a target's positive weights together, so a row filtered across lies
// within -4700..21000, and a column of those weighted adds up to well under 2^31.

// The weights of taps k and k + 1, repeated for the four channels.
__m128i weightPair(const std::int16_t* w)
{
    std::int32_t pair;
    std::memcpy(&pair, w, sizeof pair);
    return _mm_set1_epi32(pair);
}

// Bytes of two pixels interleaved (blue 0, blue 1, green 0, green 1, ...) and widened to 16
// bits, times the weights of the two: per channel pixel 0 x weight 0 + pixel 1 x weight 1.
__m128i twoPixelTaps(__m128i interleavedWords, __m128i weights)
{
    return _mm_madd_epi16(interleavedWords, weights);
}

// Taps k to k + 3 of a row.
__m128i fourTaps(const std::uint32_t* in, const std::int16_t* w)
{
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i evenOdd = _mm_shuffle_epi32(pixels, _MM_SHUFFLE(3, 1, 2, 0)); // p0 p2 p1 p3
    const __m128i interleaved = _mm_unpacklo_epi8(evenOdd, _mm_srli_si128(evenOdd, 8));
    const __m128i zero = _mm_setzero_si128();
    return _mm_add_epi32(twoPixelTaps(_mm_unpacklo_epi8(interleaved, zero), weightPair(w)),
                         twoPixelTaps(_mm_unpackhi_epi8(interleaved, zero), weightPair(w + 2)));
}

// Taps k and k + 1 of a row, or tap k alone where it is the last one: its partner's weight
// is zero then, and the pixel past it is not read, since it may lie past the row's end.
__m128i twoTaps(const std::uint32_t* in, bool both, const std::int16_t* w)
{
    const __m128i pixels = both ? _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in))
                                : _mm_cvtsi32_si128(static_cast<int>(*in));
    const __m128i interleaved = _mm_unpacklo_epi8(pixels, _mm_srli_si128(pixels, 4));
    return twoPixelTaps(_mm_unpacklo_epi8(interleaved, _mm_setzero_si128()), weightPair(w));
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

RowResampler::RowResampler(int sourceWidth, int sourceHeight, const Surface& target, int firstRow, int endRow)
    : across_(sourceWidth, target.width), down_(sourceHeight, target.height), target_(target),
      sourceWidth_(sourceWidth), copies_(sourceWidth == target.width && sourceHeight == target.height),
      nextTarget_(firstRow), endTarget_(endRow), ringRows_(down_.maxTaps),
      ringWidth_(static_cast<std::size_t>(target.width + 1) / 2 * 2)
{
    if (firstRow < endRow) {
        firstNeeded_ = down_.first[static_cast<std::size_t>(firstRow)];
        lastNeeded_ = down_.last(endRow - 1);
    }
    if (!copies_) {
        ring_.resize(static_cast<std::size_t>(ringRows_) * ringWidth_);
        tapRows_.resize(static_cast<std::size_t>(down_.maxTaps));
    }
}

std::size_t RowResampler::BytesNeeded(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight)
{
    const auto axis = [](int source, int target) {
        return static_cast<std::size_t>(target) * (static_cast<std::size_t>(ResampleAxis::TapsFor(source, target)) * sizeof(std::int16_t) + 2 * sizeof(int));
    };
    const std::size_t ringRows = static_cast<std::size_t>(ResampleAxis::TapsFor(sourceHeight, targetHeight));
    const std::size_t ringWidth = static_cast<std::size_t>(targetWidth + 1) / 2 * 2;
    return axis(sourceWidth, targetWidth) + axis(sourceHeight, targetHeight)
           + ringRows * (ringWidth * sizeof(Filtered) + sizeof(const Filtered*));
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

void RowResampler::filterAcross(const std::uint32_t* row, Filtered* out) const
{
    constexpr int Shift = WeightBits - BetweenBits;
    const __m128i half = _mm_set1_epi32(1 << (Shift - 1));
    for (int tx = 0; tx < target_.width; ++tx) {
        const std::size_t x = static_cast<std::size_t>(tx);
        const std::uint32_t* in = row + across_.first[x];
        const std::int16_t* w = &across_.weights[x * static_cast<std::size_t>(across_.maxTaps)];
        const int count = across_.count[x];
        __m128i sum = half;
        int k = 0;
        for (; k + 4 <= count; k += 4)
            sum = _mm_add_epi32(sum, fourTaps(in + k, w + k));
        for (; k < count; k += 2)
            sum = _mm_add_epi32(sum, twoTaps(in + k, k + 1 < count, w + k));
        const __m128i filtered = _mm_srai_epi32(sum, Shift);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&out[x]), _mm_packs_epi32(filtered, filtered));
    }
}

// Two pixels at a time: the rows under them are paired, their 16-bit channels interleaved
// (row k, row k + 1) and multiplied with the rows' weights; a last unpaired row goes with
// itself at weight zero.
void RowResampler::makeTargetRow(int ty)
{
    const int first = down_.first[static_cast<std::size_t>(ty)];
    const int count = down_.count[static_cast<std::size_t>(ty)];
    const std::int16_t* w = &down_.weights[static_cast<std::size_t>(ty) * static_cast<std::size_t>(down_.maxTaps)];
    for (int k = 0; k < count; ++k)
        tapRows_[static_cast<std::size_t>(k)] = ringRow(first + k);
    constexpr int Shift = WeightBits + BetweenBits;
    const __m128i half = _mm_set1_epi32(1 << (Shift - 1));
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xff000000u));
    const int width = target_.width;
    std::uint32_t* out = target_.row(ty);
    for (int x = 0; x < width; x += 2) {
        __m128i left = half, right = half;
        for (int k = 0; k < count; k += 2) {
            const Filtered* a = tapRows_[static_cast<std::size_t>(k)] + x;
            const Filtered* b = k + 1 < count ? tapRows_[static_cast<std::size_t>(k) + 1] + x : a;
            const __m128i upper = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
            const __m128i lower = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
            const __m128i weights = weightPair(w + k);
            left = _mm_add_epi32(left, _mm_madd_epi16(_mm_unpacklo_epi16(upper, lower), weights));
            right = _mm_add_epi32(right, _mm_madd_epi16(_mm_unpackhi_epi16(upper, lower), weights));
        }
        // Saturating to 16 bits and then to bytes clamps to 0..255.
        const __m128i words = _mm_packs_epi32(_mm_srai_epi32(left, Shift), _mm_srai_epi32(right, Shift));
        const __m128i pixels = _mm_or_si128(_mm_packus_epi16(words, words), opaque);
        if (x + 1 < width)
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), pixels);
        else
            out[x] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(pixels));
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
