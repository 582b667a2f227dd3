#include "engine/AlphaRamp.h"
#include "fakes/TestPictures.h"
#include "engine/Blit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct Pixels {
    std::vector<std::uint32_t> data;
    int width, height;
    Pixels(int w, int h, std::uint32_t fill) : data(static_cast<std::size_t>(w) * h, fill), width(w), height(h) {}
    Surface surface() { return {data.data(), width, height, width}; }
    std::uint32_t at(int x, int y) const { return data[static_cast<std::size_t>(y) * width + x]; }
};

// Every source and destination channel value at every opacity: the exact rounded formula.
TEST(ConstantAlphaBlit, BlendsEachChannelByTheRoundedFormula)
{
    Pixels src(256, 256, 0), dst(256, 256, 0);
    for (int a = 0; a <= 255; ++a) {
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const auto s = static_cast<std::uint32_t>(x), d = static_cast<std::uint32_t>(y);
                src.data[static_cast<std::size_t>(y) * 256 + x] = 0xff000000u | s << 16 | d << 8 | s;
                dst.data[static_cast<std::size_t>(y) * 256 + x] = 0xff000000u | d << 16 | s << 8 | d;
            }
        ConstantAlphaBlitter blitter;
        ASSERT_TRUE(blitter.AlphaBlend(dst.surface(), 0, 0, 256, 256, src.surface(), 0, 0, 256, 256,
                                       static_cast<std::uint32_t>(a) << 16));
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const auto expect = [a](int s, int d) {
                    return static_cast<int>(std::lround((s * a + d * (255 - a)) / 255.0));
                };
                const std::uint32_t p = dst.at(x, y);
                ASSERT_EQ(Red(p), expect(x, y)) << "a=" << a;
                ASSERT_EQ(Green(p), expect(y, x)) << "a=" << a;
                ASSERT_EQ(Blue(p), expect(x, y)) << "a=" << a;
            }
    }
}

TEST(ConstantAlphaBlit, RefusesEmptyRectanglesAndSourcesOutsideTheSource)
{
    struct Case {
        int dx, dy, dw, dh, sx, sy, sw, sh;
    } refused[] = {
        {0, 0, 0, 4, 0, 0, 0, 4}, {0, 0, 4, -1, 0, 0, 4, -1}, {0, 0, 4, 4, 0, 0, 4, 0},
        {6, 0, 3, 4, 6, 0, 3, 4}, {0, 2, 4, 3, 0, 2, 4, 3}, {-1, 0, 2, 2, -1, 0, 2, 2},
    };
    for (const Case& c : refused) {
        Pixels src(8, 4, 0xff0000ffu), dst(8, 4, 0xff00ff00u);
        ConstantAlphaBlitter blitter;
        EXPECT_FALSE(blitter.AlphaBlend(dst.surface(), c.dx, c.dy, c.dw, c.dh, src.surface(), c.sx,
                                        c.sy, c.sw, c.sh, 255u << 16));
        for (std::uint32_t p : dst.data)
            ASSERT_EQ(p, 0xff00ff00u);
    }
}

TEST(ConstantAlphaBlit, ClipsTheDestinationAndScalesUnequalRectangles)
{
    Pixels src(2, 1, 0), dst(6, 2, 0xff000000u);
    src.data = {0xff0000ffu, 0xffff0000u};
    ConstantAlphaBlitter blitter;
    // Two source pixels stretched over a destination rectangle that runs past the right edge.
    ASSERT_TRUE(blitter.AlphaBlend(dst.surface(), 2, 0, 8, 2, src.surface(), 0, 0, 2, 1, 255u << 16));
    EXPECT_EQ(dst.at(1, 0), 0xff000000u);
    for (int x = 2; x < 6; ++x) {
        EXPECT_EQ(dst.at(x, 0), 0xff0000ffu) << x;
        EXPECT_EQ(dst.at(x, 1), 0xff0000ffu) << x;
    }
}

// The ramp's calls blitted together give exactly what blitting them one by one gives.
TEST(ConstantAlphaBlit, BlittingAllCallsTogetherMatchesOneByOne)
{
    const Picture overlay = MakePicture(729, 425, [](int x, int y) {
        return static_cast<std::uint32_t>((x * 7 + y) & 0xff) << 16 | static_cast<std::uint32_t>(y & 0xff);
    });
    for (double direction : {0.0, 1.0}) {
        for (double start : {0.0, 100.0, 473.0, 700.0}) {
            Pixels together(729, 425, 0xff336699u), oneByOne(729, 425, 0xff336699u);
            ConstantAlphaBlitter blitter;
            AlphaRamp(blitter, together.surface(), 729, 425, overlay.surface(), 729, 425, start, 729, direction);

            struct OneAtATime : ConstantAlphaBlitter {
                void AlphaBlendAll(const Surface& d, const Surface& s, const std::vector<BlitCall>& calls) override
                {
                    Blitter::AlphaBlendAll(d, s, calls);
                }
            } single;
            AlphaRamp(single, oneByOne.surface(), 729, 425, overlay.surface(), 729, 425, start, 729, direction);
            ASSERT_EQ(together.data, oneByOne.data) << "direction " << direction << " start " << start;
        }
    }
}

} // namespace
