// Highway compiles this file once for each instruction set: the code between
// HWY_BEFORE_NAMESPACE and HWY_AFTER_NAMESPACE exists once per set, the rest once.

// Every set the compiler can target, the plain scalar code included (left out by default
// where the baseline has vectors, as on arm64), so that each can be tested. Not SVE: its
// vectors have no width known when compiling, and the sums below are laid out for fixed ones.
#define HWY_COMPILE_ALL_ATTAINABLE
#define HWY_DISABLED_TARGETS (HWY_SVE | HWY_SVE2 | HWY_SVE_256 | HWY_SVE2_128)

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/ResampleKernels.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "engine/Resample.h"
#include "engine/ResampleKernels.h"

#include <algorithm>
#include <cstring>
#include <iterator>

HWY_BEFORE_NAMESPACE();
namespace resample_kernels {
namespace HWY_NAMESPACE {

// Everything fits: no weight reaches 1.3 (21063 of 16384, enlarging a picture of a few
// pixels), nor do a target's positive weights together, so a row filtered across lies within
// -4700..21000, and a column of those weighted adds up to well under 2^31, in any order and
// any part of it. The sums are therefore those of plain integer arithmetic on every target.
constexpr int AcrossShift = ResampleWeightBits - ResampleBetweenBits;
constexpr int DownShift = ResampleWeightBits + ResampleBetweenBits;

// The weights of taps k and k + 1 as one 32-bit number.
std::int32_t weightPairBits(const std::int16_t* w)
{
    std::int32_t pair;
    std::memcpy(&pair, w, sizeof pair);
    return pair;
}

#if HWY_TARGET == HWY_SCALAR

// Vectors of one lane have no room for the pairs below: plain sums, channel by channel.
void Across(const ResampleAxis& axis, const std::uint32_t* row, std::int16_t* out)
{
    const std::size_t width = axis.first.size();
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint32_t* in = row + axis.first[x];
        const std::int16_t* w = &axis.weights[x * static_cast<std::size_t>(axis.maxTaps)];
        for (int c = 0; c < 4; ++c) {
            std::int32_t sum = 1 << (AcrossShift - 1);
            for (int k = 0; k < axis.count[x]; ++k)
                sum += static_cast<std::int32_t>((in[k] >> (8 * c)) & 0xffu) * w[k];
            out[4 * x + static_cast<std::size_t>(c)] = static_cast<std::int16_t>(std::clamp(sum >> AcrossShift, -32768, 32767));
        }
    }
}

void Down(const std::int16_t* const* rows, const std::int16_t* weights, int count, int width, std::uint32_t* out)
{
    for (int x = 0; x < width; ++x) {
        std::uint32_t pixel = 0xff000000u;
        for (int c = 0; c < 3; ++c) {
            std::int32_t sum = 1 << (DownShift - 1);
            for (int k = 0; k < count; ++k)
                sum += rows[k][4 * x + c] * weights[k];
            pixel |= static_cast<std::uint32_t>(std::clamp(sum >> DownShift, 0, 255)) << (8 * c);
        }
        out[x] = pixel;
    }
}

#else

namespace hn = hwy::HWY_NAMESPACE;

// Four 32-bit sums: blue, green, red and the unused byte of one pixel.
using D4 = hn::CappedTag<std::int32_t, 4>;

// Within each 8 bytes, two pixels' bytes side by side per channel: blue 0, blue 1, green 0, ...
constexpr std::uint8_t PairChannels[32] = {
    0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15,
    0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15,
};
// Lane i takes lane i / 4: a weight pair for the four channels.
constexpr std::int32_t EachFourTimes[16] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3};

// The weights of tap pairs 0, 1, ..., each pair repeated for the four channels.
template <class D32>
HWY_INLINE hn::Vec<D32> weightPairs(D32 d32, const std::int16_t* w)
{
    if constexpr (hn::MaxLanes(d32) == 4) {
        return hn::Set(d32, weightPairBits(w));
    } else if constexpr (hn::MaxLanes(d32) == 8) {
        // Both pairs broadcast from memory, which takes no shuffle of its own.
        std::uint64_t bits;
        std::memcpy(&bits, w, sizeof bits);
        return hn::TableLookupLanes(hn::BitCast(d32, hn::Set(hn::Repartition<std::uint64_t, D32>(), bits)), hn::SetTableIndices(d32, EachFourTimes));
    } else {
        static_assert(hn::MaxLanes(d32) <= std::size(EachFourTimes));
        const hn::Half<D32> dHalf;
        const hn::Half<decltype(dHalf)> dPairs;
        const auto pairs = hn::BitCast(dPairs, hn::LoadU(hn::Repartition<std::int16_t, decltype(dPairs)>(), w));
        return hn::TableLookupLanes(hn::ZeroExtendVector(d32, hn::ZeroExtendVector(dHalf, pairs)), hn::SetTableIndices(d32, EachFourTimes));
    }
}

// Adds the taps of `bytes` (two pixels to each 128-bit block of d32's sums, as loaded from a
// row) weighted by w, to the pair sums of ReorderWidenMulAccumulate: a multiply-add of
// 16-bit pairs into 32-bit sums, exact. Their lanes become the channels' sums once
// rearranged.
template <class D32, class V8>
HWY_INLINE void addTaps(D32 d32, V8 bytes, const std::int16_t* w, hn::Vec<D32>& sum0, hn::Vec<D32>& sum1)
{
    const hn::Repartition<std::int16_t, D32> d16;
    const hn::Rebind<std::uint8_t, decltype(d16)> d8;
    static_assert(hn::MaxLanes(d8) <= sizeof PairChannels);
    const auto paired = hn::PromoteTo(d16, hn::TableLookupBytes(bytes, hn::LoadU(d8, PairChannels)));
    sum0 = hn::ReorderWidenMulAccumulate(d32, paired, hn::BitCast(d16, weightPairs(d32, w)), sum0, sum1);
}

// Taps k to k + n - 1 of a row, n being half the lanes of d32.
template <class D32>
HWY_INLINE void addTapsFrom(D32 d32, const std::uint32_t* in, const std::int16_t* w, hn::Vec<D32>& sum0, hn::Vec<D32>& sum1)
{
    const hn::Rebind<std::uint8_t, hn::Repartition<std::int16_t, D32>> d8;
    addTaps(d32, hn::LoadU(d8, reinterpret_cast<const std::uint8_t*>(in)), w, sum0, sum1);
}

// The sums of the 128-bit blocks of v added together.
template <class D32>
HWY_INLINE hn::Vec<D4> addBlocks(D32 d32, hn::Vec<D32> v)
{
    if constexpr (hn::MaxLanes(d32) > 4) {
        const hn::Half<D32> dHalf;
        return addBlocks(dHalf, hn::Add(hn::LowerHalf(dHalf, v), hn::UpperHalf(dHalf, v)));
    } else {
        return v;
    }
}

// One target pixel: its taps a vector at a time, then two at a time, then the last alone
// (its partner's weight is zero, and the pixel past it is not read: it may lie past the row's
// end).
template <class D32>
HWY_INLINE void acrossPixel(D32 d32, const std::uint32_t* in, const std::int16_t* w, int count, std::int16_t* out)
{
    constexpr int Step = static_cast<int>(hn::MaxLanes(d32) / 2);
    auto sum0 = hn::Zero(d32), sum1 = hn::Zero(d32);
    int k = 0;
    for (; k + Step <= count; k += Step)
        addTapsFrom(d32, in + k, w + k, sum0, sum1);
    const D4 d4;
    auto rest0 = hn::Zero(d4), rest1 = hn::Zero(d4);
    for (; k + 2 <= count; k += 2)
        addTapsFrom(d4, in + k, w + k, rest0, rest1);
    if (k < count) {
        const hn::Rebind<std::uint8_t, hn::Repartition<std::int16_t, D4>> d8;
        const auto alone = hn::LoadU(hn::Half<decltype(d8)>(), reinterpret_cast<const std::uint8_t*>(in + k));
        addTaps(d4, hn::ZeroExtendVector(d8, alone), w + k, rest0, rest1);
    }
    const auto sum = hn::Add(hn::Add(addBlocks(d32, hn::RearrangeToOddPlusEven(sum0, sum1)), hn::RearrangeToOddPlusEven(rest0, rest1)),
                             hn::Set(d4, 1 << (AcrossShift - 1)));
    const hn::Rebind<std::int16_t, D4> d16;
    hn::StoreU(hn::DemoteTo(d16, hn::ShiftRight<AcrossShift>(sum)), d16, out);
}

void Across(const ResampleAxis& axis, const std::uint32_t* row, std::int16_t* out)
{
    const hn::ScalableTag<std::int32_t> d32;
    const std::size_t width = axis.first.size();
    for (std::size_t x = 0; x < width; ++x)
        acrossPixel(d32, row + axis.first[x], &axis.weights[x * static_cast<std::size_t>(axis.maxTaps)], axis.count[x], out + 4 * x);
}

// Target pixels x to x + n - 1 (n being half the lanes of d32) from the rows under them, as
// 0xffRRGGBB. Rows k and k + 1 go together, the channels of each 128-bit block's first pixel
// into `first`'s sums, its second pixel's into `second`'s.
template <class D32>
HWY_INLINE auto downPixels(D32 d32, const std::int16_t* const* rows, const std::int16_t* weights, int count, int x)
{
    const hn::Repartition<std::int16_t, D32> d16;
    auto first0 = hn::Zero(d32), first1 = hn::Zero(d32), second0 = hn::Zero(d32), second1 = hn::Zero(d32);
    for (int k = 0; k < count; k += 2) {
        const std::int16_t* a = rows[k] + 4 * x;
        const std::int16_t* b = k + 1 < count ? rows[k + 1] + 4 * x : a;
        const auto upper = hn::LoadU(d16, a), lower = hn::LoadU(d16, b);
        const auto w = hn::BitCast(d16, hn::Set(d32, weightPairBits(weights + k)));
        first0 = hn::ReorderWidenMulAccumulate(d32, hn::InterleaveLower(d16, upper, lower), w, first0, first1);
        second0 = hn::ReorderWidenMulAccumulate(d32, hn::InterleaveUpper(d16, upper, lower), w, second0, second1);
    }
    const auto half = hn::Set(d32, 1 << (DownShift - 1));
    const auto first = hn::ShiftRight<DownShift>(hn::Add(hn::RearrangeToOddPlusEven(first0, first1), half));
    const auto second = hn::ShiftRight<DownShift>(hn::Add(hn::RearrangeToOddPlusEven(second0, second1), half));
    // Clamped to bytes (pixels 0, 2, 4, ... and 1, 3, 5, ...), then put back in order.
    const hn::Rebind<std::uint8_t, D32> d8;
    const hn::Repartition<std::uint32_t, decltype(d8)> dPixels;
    const hn::Rebind<std::uint64_t, decltype(dPixels)> dTwo;
    const auto even = hn::PromoteTo(dTwo, hn::BitCast(dPixels, hn::DemoteTo(d8, first)));
    const auto odd = hn::PromoteTo(dTwo, hn::BitCast(dPixels, hn::DemoteTo(d8, second)));
    const hn::Repartition<std::uint32_t, decltype(dTwo)> dOut;
    return hn::Or(hn::BitCast(dOut, hn::Or(even, hn::ShiftLeft<32>(odd))), hn::Set(dOut, 0xff000000u));
}

void Down(const std::int16_t* const* rows, const std::int16_t* weights, int count, int width, std::uint32_t* out)
{
    const hn::ScalableTag<std::int32_t> d32;
    constexpr int Step = static_cast<int>(hn::MaxLanes(d32) / 2);
    int x = 0;
    for (; x + Step <= width; x += Step)
        hn::StoreU(downPixels(d32, rows, weights, count, x), hn::Rebind<std::uint32_t, hn::Half<decltype(d32)>>(), out + x);
    // Two pixels at a time: a row holds an even number of them.
    const D4 d4;
    for (; x < width; x += 2) {
        const auto pixels = downPixels(d4, rows, weights, count, x);
        if (x + 1 < width)
            hn::StoreU(pixels, hn::Rebind<std::uint32_t, hn::Half<D4>>(), out + x);
        else
            out[x] = hn::GetLane(pixels);
    }
}

#endif

ResampleKernels KernelsOfThisTarget()
{
    return {Across, Down};
}

} // namespace HWY_NAMESPACE
} // namespace resample_kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

namespace resample_kernels {
HWY_EXPORT(KernelsOfThisTarget);
} // namespace resample_kernels

ResampleKernels BestResampleKernels()
{
    return HWY_DYNAMIC_DISPATCH(resample_kernels::KernelsOfThisTarget)();
}

std::int64_t CompiledResampleTargets()
{
    return HWY_TARGETS;
}

#endif
