#include "engine/ResampleKernels.h"

#include "engine/Resample.h"

#include <cstring>

#include <immintrin.h>

namespace {

// The filters work on 16-bit samples and weights, two taps to one multiply-add of 16-bit pairs
// into 32-bit sums (pmaddwd), which are exact: the sums are those of plain integer arithmetic.
// Everything fits: no weight reaches 1.3 (21063 of 16384, enlarging a picture of a few
// pixels), nor do a target's positive weights together, so a row filtered across lies within
// -4700..21000, and a column of those weighted adds up to well under 2^31.
constexpr int AcrossShift = ResampleWeightBits - ResampleBetweenBits;
constexpr int DownShift = ResampleWeightBits + ResampleBetweenBits;

// The weights of taps k and k + 1 as one 32-bit number.
std::int32_t weightPairBits(const std::int16_t* w)
{
    std::int32_t pair;
    std::memcpy(&pair, w, sizeof pair);
    return pair;
}

// The weights of taps k and k + 1, repeated for the four channels.
__m128i weightPair(const std::int16_t* w)
{
    return _mm_set1_epi32(weightPairBits(w));
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

// The last taps of a target, fewer than four, added to `sum`, then the target stored.
void finishAcross(__m128i sum, const std::uint32_t* in, const std::int16_t* w, int k, int count, std::int16_t* out)
{
    for (; k < count; k += 2)
        sum = _mm_add_epi32(sum, twoTaps(in + k, k + 1 < count, w + k));
    const __m128i filtered = _mm_srai_epi32(sum, AcrossShift);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(filtered, filtered));
}

void acrossSse2(const ResampleAxis& axis, const std::uint32_t* row, std::int16_t* out)
{
    const __m128i half = _mm_set1_epi32(1 << (AcrossShift - 1));
    const std::size_t width = axis.first.size();
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint32_t* in = row + axis.first[x];
        const std::int16_t* w = &axis.weights[x * static_cast<std::size_t>(axis.maxTaps)];
        const int count = axis.count[x];
        __m128i sum = half;
        int k = 0;
        for (; k + 4 <= count; k += 4)
            sum = _mm_add_epi32(sum, fourTaps(in + k, w + k));
        finishAcross(sum, in, w, k, count, out + 4 * x);
    }
}

// Target pixels x and x + 1 from the rows under them; only x when it is the last.
void twoPixelsDown(const std::int16_t* const* rows, const std::int16_t* weights, int count, int x, int width, std::uint32_t* out)
{
    __m128i left = _mm_set1_epi32(1 << (DownShift - 1)), right = left;
    for (int k = 0; k < count; k += 2) {
        const std::int16_t* a = rows[k] + 4 * x;
        const std::int16_t* b = k + 1 < count ? rows[k + 1] + 4 * x : a;
        const __m128i upper = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
        const __m128i lower = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
        const __m128i w = weightPair(weights + k);
        left = _mm_add_epi32(left, _mm_madd_epi16(_mm_unpacklo_epi16(upper, lower), w));
        right = _mm_add_epi32(right, _mm_madd_epi16(_mm_unpackhi_epi16(upper, lower), w));
    }
    // Saturating to 16 bits and then to bytes clamps to 0..255.
    const __m128i words = _mm_packs_epi32(_mm_srai_epi32(left, DownShift), _mm_srai_epi32(right, DownShift));
    const __m128i pixels = _mm_or_si128(_mm_packus_epi16(words, words), _mm_set1_epi32(static_cast<int>(0xff000000u)));
    if (x + 1 < width)
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), pixels);
    else
        out[x] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(pixels));
}

void downSse2(const std::int16_t* const* rows, const std::int16_t* weights, int count, int width, std::uint32_t* out)
{
    for (int x = 0; x < width; x += 2)
        twoPixelsDown(rows, weights, count, x, width, out);
}

// Taps k to k + 3 of a row at once: the pixels' bytes paired (blue 0, blue 1, ..., blue 2,
// blue 3, ...) by one shuffle, widened, and multiplied by weights 0, 1 then 2, 3.
__attribute__((target("avx2"))) __m256i fourTapsAvx2(const std::uint32_t* in, const std::int16_t* w)
{
    const __m128i pairs = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)),
                                           _mm_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15));
    const __m256i weights = _mm256_permutevar8x32_epi32(
        _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(w))), _mm256_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1));
    return _mm256_madd_epi16(_mm256_cvtepu8_epi16(pairs), weights);
}

__attribute__((target("avx2"))) void acrossAvx2(const ResampleAxis& axis, const std::uint32_t* row, std::int16_t* out)
{
    const __m128i half = _mm_set1_epi32(1 << (AcrossShift - 1));
    const std::size_t width = axis.first.size();
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint32_t* in = row + axis.first[x];
        const std::int16_t* w = &axis.weights[x * static_cast<std::size_t>(axis.maxTaps)];
        const int count = axis.count[x];
        __m256i wide = _mm256_setzero_si256();
        int k = 0;
        for (; k + 4 <= count; k += 4)
            wide = _mm256_add_epi32(wide, fourTapsAvx2(in + k, w + k));
        const __m128i sum = _mm_add_epi32(_mm_add_epi32(_mm256_castsi256_si128(wide), _mm256_extracti128_si256(wide, 1)), half);
        finishAcross(sum, in, w, k, count, out + 4 * x);
    }
}

__attribute__((target("avx2"))) void downAvx2(const std::int16_t* const* rows, const std::int16_t* weights, int count, int width, std::uint32_t* out)
{
    const __m256i half = _mm256_set1_epi32(1 << (DownShift - 1));
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        // Each 128-bit half holds two pixels: pixel 0 and 1 in the low half, 2 and 3 in the high.
        __m256i even = half, odd = half;
        for (int k = 0; k < count; k += 2) {
            const std::int16_t* a = rows[k] + 4 * x;
            const std::int16_t* b = k + 1 < count ? rows[k + 1] + 4 * x : a;
            const __m256i upper = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a));
            const __m256i lower = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b));
            const __m256i w = _mm256_set1_epi32(weightPairBits(weights + k));
            even = _mm256_add_epi32(even, _mm256_madd_epi16(_mm256_unpacklo_epi16(upper, lower), w)); // pixels 0, 2
            odd = _mm256_add_epi32(odd, _mm256_madd_epi16(_mm256_unpackhi_epi16(upper, lower), w));  // pixels 1, 3
        }
        const __m256i words = _mm256_packs_epi32(_mm256_srai_epi32(even, DownShift), _mm256_srai_epi32(odd, DownShift));
        // Bytes: pixels 0 1 0 1 | 2 3 2 3; the first and third quarters are 0 1 2 3.
        const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), _MM_SHUFFLE(3, 1, 2, 0));
        const __m128i pixels = _mm_or_si128(_mm256_castsi256_si128(bytes), _mm_set1_epi32(static_cast<int>(0xff000000u)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), pixels);
    }
    for (; x < width; x += 2)
        twoPixelsDown(rows, weights, count, x, width, out);
}

} // namespace

ResampleKernels Sse2ResampleKernels()
{
    return {acrossSse2, downSse2};
}

ResampleKernels Avx2ResampleKernels()
{
    return {acrossAvx2, downAvx2};
}

bool ProcessorHasAvx2()
{
    return __builtin_cpu_supports("avx2");
}

ResampleKernels BestResampleKernels()
{
    return ProcessorHasAvx2() ? Avx2ResampleKernels() : Sse2ResampleKernels();
}
