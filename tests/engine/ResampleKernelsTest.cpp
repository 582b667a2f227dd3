#include "engine/Resample.h"
#include "engine/ResampleKernels.h"
#include "engine/KernelsOfEachTarget.h"
#include "fakes/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

// The kernels' sums written out plainly, one channel of one pixel at a time in 64-bit
// arithmetic: (sum of sample x weight + half) >> shift, clamped to 16 bits across and to
// 0..255 down, the alpha byte set.
void referenceAcross(const ResampleAxis& axis, const std::uint32_t* row, std::int16_t* out)
{
    constexpr int shift = ResampleWeightBits - ResampleBetweenBits;
    for (std::size_t x = 0; x < axis.first.size(); ++x)
        for (int c = 0; c < 4; ++c) {
            std::int64_t sum = 1 << (shift - 1);
            for (int k = 0; k < axis.count[x]; ++k) {
                const std::uint32_t pixel = row[axis.first[x] + k];
                sum += static_cast<std::int64_t>((pixel >> (8 * c)) & 0xff) * axis.weights[x * static_cast<std::size_t>(axis.maxTaps) + static_cast<std::size_t>(k)];
            }
            out[4 * x + static_cast<std::size_t>(c)] = static_cast<std::int16_t>(std::clamp<std::int64_t>(sum >> shift, -32768, 32767));
        }
}

void referenceDown(const std::int16_t* const* rows, const std::int16_t* weights, int count, int width, std::uint32_t* out)
{
    constexpr int shift = ResampleWeightBits + ResampleBetweenBits;
    for (int x = 0; x < width; ++x) {
        std::uint32_t pixel = 0xff000000u;
        for (int c = 0; c < 3; ++c) {
            std::int64_t sum = 1 << (shift - 1);
            for (int k = 0; k < count; ++k)
                sum += static_cast<std::int64_t>(rows[k][4 * x + c]) * weights[k];
            pixel |= static_cast<std::uint32_t>(std::clamp<std::int64_t>(sum >> shift, 0, 255)) << (8 * c);
        }
        out[x] = pixel;
    }
}

std::vector<TargetKernels<ResampleKernels>> kernelsOfEveryTarget()
{
    return KernelsOfEachTarget(CompiledResampleTargets(), BestResampleKernels);
}

// Pixels of random bytes, with runs of black and white between them, whose sharp edges
// overshoot the most.
std::vector<std::uint32_t> noisyRow(std::mt19937& random, int width)
{
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    for (std::size_t x = 0; x < row.size(); ++x)
        row[x] = (x / 7) % 3 ? static_cast<std::uint32_t>(random()) : (random() % 2 ? 0xffffffffu : 0u);
    return row;
}

// Each instruction set is its own code, and the test below would not notice if all were one.
TEST(ResampleKernels, EveryInstructionSetHasItsOwnKernelsThePlainOneIncluded)
{
    const auto all = kernelsOfEveryTarget();
    std::set<void (*)(const ResampleAxis&, const std::uint32_t*, std::int16_t*)> across;
    for (const auto& target : all)
        EXPECT_TRUE(across.insert(target.kernels.across).second) << target.name;
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const auto& t) { return t.target & (HWY_SCALAR | HWY_EMU128); }));
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(BestResampleKernels().across, all.front().kernels.across);
}

// Every source and target width from a few pixels up, so that the taps of a target pixel
// leave every remainder of each instruction set's step, reducing and enlarging, up to taps
// cut short by the picture's edges.
TEST(ResampleKernels, EveryInstructionSetFiltersAcrossLikeThePlainSums)
{
    std::mt19937 random(17);
    for (const int sourceWidth : {1, 2, 3, 5, 8, 13, 31, 97, 1203}) {
        const std::vector<std::uint32_t> row = noisyRow(random, sourceWidth);
        for (int targetWidth = 1; targetWidth <= 2100; targetWidth += targetWidth < 48 ? 1 : 137) {
            const ResampleAxis axis(sourceWidth, targetWidth);
            std::vector<std::int16_t> expected(static_cast<std::size_t>(targetWidth) * 4);
            referenceAcross(axis, row.data(), expected.data());
            for (const auto& target : kernelsOfEveryTarget()) {
                std::vector<std::int16_t> out(expected.size());
                target.kernels.across(axis, row.data(), out.data());
                ASSERT_EQ(out, expected) << target.name << ": " << sourceWidth << " to " << targetWidth;
            }
        }
    }
}

// Every target width from one pixel up (each step of pixels leaves every remainder), with
// the rows' sums reaching below 0 and above 255 so that both clamps are taken.
TEST(ResampleKernels, EveryInstructionSetMakesTargetPixelsLikeThePlainSums)
{
    std::mt19937 random(29);
    std::uniform_int_distribution<int> sample(-4700, 21000);
    for (const auto& [sourceHeight, targetHeight] : {std::pair{1, 1}, {2, 5}, {5, 2}, {13, 3}, {300, 7}, {97, 1}}) {
        const ResampleAxis axis(sourceHeight, targetHeight);
        for (int width = 1; width <= 730; width += width < 40 ? 1 : 69) {
            const std::size_t rowLength = static_cast<std::size_t>(width + 1) / 2 * 2 * 4;
            std::vector<std::vector<std::int16_t>> filtered(static_cast<std::size_t>(axis.maxTaps), std::vector<std::int16_t>(rowLength));
            for (std::vector<std::int16_t>& row : filtered)
                for (std::int16_t& s : row)
                    s = static_cast<std::int16_t>(random() % 4 ? sample(random) : (random() % 2 ? 21000 : -4700));
            std::vector<const std::int16_t*> rows;
            for (const std::vector<std::int16_t>& row : filtered)
                rows.push_back(row.data());
            for (int ty = 0; ty < targetHeight; ++ty) {
                const std::int16_t* weights = &axis.weights[static_cast<std::size_t>(ty) * static_cast<std::size_t>(axis.maxTaps)];
                const int count = axis.count[static_cast<std::size_t>(ty)];
                std::vector<std::uint32_t> expected(static_cast<std::size_t>(width));
                referenceDown(rows.data(), weights, count, width, expected.data());
                for (const auto& target : kernelsOfEveryTarget()) {
                    std::vector<std::uint32_t> out(expected.size());
                    target.kernels.down(rows.data(), weights, count, width, out.data());
                    ASSERT_EQ(out, expected) << target.name << ": " << width << " wide, " << count << " rows";
                }
            }
        }
    }
}

// Whole pictures through the resampler, reducing and enlarging alike, with sharp edges whose
// overshoot is clamped, at widths that leave remainders.
TEST(ResampleKernels, EveryInstructionSetResamplesPicturesLikeThePlainSums)
{
    const Picture noise = MakePicture(1203, 701, [](int x, int y) {
        const std::uint32_t v = static_cast<std::uint32_t>(x * 7919 + y * 104729) * 2654435761u;
        return (x / 40 + y / 40) % 2 ? v >> 8 : 0xffffffu * (v >> 31);
    });
    for (const auto& [w, h] : {std::pair{729, 425}, {1, 1}, {2, 3}, {3, 5}, {5, 2}, {6, 7}, {7, 9}, {1203, 701}, {2000, 900}}) {
        std::vector<std::uint32_t> expected(static_cast<std::size_t>(w) * h);
        RowResampler reference(noise.width, noise.height, {expected.data(), w, h, w}, 0, h, {referenceAcross, referenceDown});
        for (int y = 0; y < noise.height; ++y)
            reference.addRow(noise.row(y));
        for (const auto& target : kernelsOfEveryTarget()) {
            std::vector<std::uint32_t> out(expected.size());
            RowResampler resampler(noise.width, noise.height, {out.data(), w, h, w}, 0, h, target.kernels);
            for (int y = 0; y < noise.height; ++y)
                resampler.addRow(noise.row(y));
            EXPECT_EQ(out, expected) << target.name << ": " << w << "x" << h;
        }
    }
}

} // namespace
