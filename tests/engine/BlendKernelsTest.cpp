#include "engine/BlendKernels.h"
#include "engine/KernelsOfEachTarget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <set>
#include <vector>

namespace {

std::vector<TargetKernels<BlendKernels>> kernelsOfEveryTarget()
{
    return KernelsOfEachTarget(CompiledBlendTargets(), BestBlendKernels);
}

std::uint8_t rounded(int s, int d, int a)
{
    return static_cast<std::uint8_t>(std::lround((s * a + d * (255 - a)) / 255.0));
}

// Every source and destination byte at every opacity, in runs that leave every remainder of
// each instruction set's step, starting anywhere.
TEST(BlendKernels, EveryInstructionSetBlendsEachByteByTheRoundedFormula)
{
    const auto all = kernelsOfEveryTarget();
    std::set<decltype(BlendKernels::withOpacity)> own;
    for (const auto& target : all)
        EXPECT_TRUE(own.insert(target.kernels.withOpacity).second) << target.name;
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const auto& t) { return t.target & (HWY_SCALAR | HWY_EMU128); }));

    constexpr std::size_t pairs = 256 * 256;
    std::vector<std::uint8_t> s(pairs), d(pairs);
    for (std::size_t i = 0; i < pairs; ++i) {
        s[i] = static_cast<std::uint8_t>(i);
        d[i] = static_cast<std::uint8_t>(i >> 8);
    }
    for (const auto& target : all)
        for (int a = 0; a <= 255; ++a) {
            const std::size_t start = static_cast<std::size_t>(a) % 67, count = pairs - start - static_cast<std::size_t>(a) % 61;
            std::vector<std::uint8_t> out = d;
            target.kernels.withOpacity(s.data() + start, out.data() + start, count, static_cast<std::uint8_t>(a));
            for (std::size_t i = 0; i < pairs; ++i)
                ASSERT_EQ(out[i], i < start || i >= start + count ? d[i] : rounded(s[i], d[i], a)) << target.name << " a=" << a << " at " << i;
        }
}

// The same with an opacity of its own for each byte.
TEST(BlendKernels, EveryInstructionSetBlendsEachByteByItsOwnOpacity)
{
    constexpr std::size_t pairs = 256 * 256;
    std::vector<std::uint8_t> s(pairs), d(pairs), a(pairs);
    for (const auto& target : kernelsOfEveryTarget())
        for (int shift = 0; shift <= 255; shift += 5) {
            for (std::size_t i = 0; i < pairs; ++i) {
                s[i] = static_cast<std::uint8_t>(i);
                d[i] = static_cast<std::uint8_t>(i >> 8);
                a[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(shift));
            }
            const std::size_t count = pairs - static_cast<std::size_t>(shift) % 37;
            std::vector<std::uint8_t> out = d;
            target.kernels.withOpacities(s.data(), out.data(), count, a.data());
            for (std::size_t i = 0; i < pairs; ++i)
                ASSERT_EQ(out[i], i >= count ? d[i] : rounded(s[i], d[i], a[i])) << target.name << " at " << i;
        }
}

} // namespace
