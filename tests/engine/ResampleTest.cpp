#include "engine/Resample.h"
#include "fakes/TestPictures.h"

#include <gtest/gtest.h>

namespace {

// A hard black and white step: the window's negative lobes overshoot on both sides of it, and
// the result must be clamped, never wrapped round to the other end of the scale.
TEST(StretchPicture, ClampsTheOvershootAtSharpEdges)
{
    const Picture step = MakePicture(1000, 600, [](int x, int y) { return (x < 500) != (y < 300) ? 0xffffffu : 0u; });
    for (const auto& [w, h] : {std::pair{729, 425}, {1500, 900}}) {
        std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * h);
        StretchPicture(step, {out.data(), w, h, w});
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = out[static_cast<std::size_t>(y) * w + x];
                const bool whiteSide = (x < w / 2) != (y < h / 2);
                const bool nearEdge = std::abs(x - w / 2) < 8 || std::abs(y - h / 2) < 8;
                if (!nearEdge) {
                    ASSERT_EQ(p & 0xffffff, whiteSide ? 0xffffffu : 0u) << x << "," << y << " to " << w;
                }
                ASSERT_EQ(p >> 24, 0xffu);
            }
    }
}

// A decoder feeds rows one at a time, and the result must be the same as stretching the
// whole picture at once.
TEST(RowResampler, FedRowByRowGivesTheStretchOfTheWholePicture)
{
    const Picture noise = MakePicture(3001, 1777, [](int x, int y) {
        const std::uint32_t v = static_cast<std::uint32_t>(x * 7919 + y * 104729) * 2654435761u;
        return v >> 8;
    });
    for (const auto& [w, h] : {std::pair{729, 425}, {3001, 850}, {4000, 1777}}) {
        std::vector<std::uint32_t> whole(static_cast<std::size_t>(w) * h), streamed(whole.size());
        StretchPicture(noise, {whole.data(), w, h, w});
        RowResampler resampler(noise.width, noise.height, {streamed.data(), w, h, w});
        for (int y = 0; y < noise.height; ++y)
            resampler.addRow(noise.row(y));
        EXPECT_TRUE(resampler.finished());
        EXPECT_EQ(streamed, whole) << w << "x" << h;
    }
}

TEST(StretchPicture, EqualSizesAreAnExactCopy)
{
    const Picture noise = MakePicture(729, 425, [](int x, int y) { return static_cast<std::uint32_t>(x * 31 + y * 17) * 2654435761u >> 8; });
    std::vector<std::uint32_t> out(729 * 425);
    StretchPicture(noise, {out.data(), 729, 425, 729});
    for (int y = 0; y < 425; ++y)
        ASSERT_TRUE(std::equal(out.begin() + y * 729, out.begin() + (y + 1) * 729, noise.row(y))) << y;
}

} // namespace
