// Highway compiles this file once for each instruction set: the code between
// HWY_BEFORE_NAMESPACE and HWY_AFTER_NAMESPACE exists once per set, the rest once.

// Every set the compiler can target, the plain scalar code included, so that each can be
// tested; the same sets as the resampler's kernels.
#define HWY_COMPILE_ALL_ATTAINABLE
#define HWY_DISABLED_TARGETS (HWY_SVE | HWY_SVE2 | HWY_SVE_256 | HWY_SVE2_128)

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/BlendKernels.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "engine/BlendKernels.h"

HWY_BEFORE_NAMESPACE();
namespace blend_kernels {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// One byte per 16-bit lane: t = s * a + d * (255 - a) + 128, then (t + (t >> 8)) >> 8, which
// is the rounded quotient by 255. Everything fits in 16 bits: t is at most 65153.
template <class D16, class V8>
HWY_INLINE V8 blendLanes(D16 d16, V8 s, V8 d, hn::Vec<D16> a)
{
    const hn::Rebind<std::uint8_t, D16> d8;
    const auto t = hn::Add(hn::Add(hn::Mul(hn::PromoteTo(d16, s), a), hn::Mul(hn::PromoteTo(d16, d), hn::Sub(hn::Set(d16, 255), a))),
                           hn::Set(d16, 128));
    const auto quotient = hn::ShiftRight<8>(hn::Add(t, hn::ShiftRight<8>(t)));
    return hn::DemoteTo(d8, hn::BitCast(hn::RebindToSigned<D16>(), quotient));
}

// A vector of bytes at a time, then the rest one at a time. `opacity(d16, i)` gives the
// opacities of bytes i, i + 1, ...
template <class Opacity>
HWY_INLINE void blendBytes(const std::uint8_t* s, std::uint8_t* d, std::size_t count, Opacity opacity)
{
    const hn::ScalableTag<std::uint16_t> d16;
    const hn::Rebind<std::uint8_t, decltype(d16)> d8;
    const std::size_t step = hn::Lanes(d16);
    std::size_t i = 0;
    for (; i + step <= count; i += step)
        hn::StoreU(blendLanes(d16, hn::LoadU(d8, s + i), hn::LoadU(d8, d + i), opacity(d16, i)), d8, d + i);
    const hn::CappedTag<std::uint16_t, 1> d16One;
    const hn::Rebind<std::uint8_t, decltype(d16One)> d8One;
    for (; i < count; ++i)
        hn::StoreU(blendLanes(d16One, hn::LoadU(d8One, s + i), hn::LoadU(d8One, d + i), opacity(d16One, i)), d8One, d + i);
}

void WithOpacity(const std::uint8_t* s, std::uint8_t* d, std::size_t count, std::uint8_t a)
{
    blendBytes(s, d, count, [a](auto d16, std::size_t) { return hn::Set(d16, a); });
}

void WithOpacities(const std::uint8_t* s, std::uint8_t* d, std::size_t count, const std::uint8_t* a)
{
    blendBytes(s, d, count, [a](auto d16, std::size_t i) { return hn::PromoteTo(d16, hn::LoadU(hn::Rebind<std::uint8_t, decltype(d16)>(), a + i)); });
}

BlendKernels KernelsOfThisTarget()
{
    return {WithOpacity, WithOpacities};
}

} // namespace HWY_NAMESPACE
} // namespace blend_kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

namespace blend_kernels {
HWY_EXPORT(KernelsOfThisTarget);
} // namespace blend_kernels

BlendKernels BestBlendKernels()
{
    return HWY_DYNAMIC_DISPATCH(blend_kernels::KernelsOfThisTarget)();
}

std::int64_t CompiledBlendTargets()
{
    return HWY_TARGETS;
}

#endif
