#include "engine/PairComposition.h"
#include "fakes/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

namespace {

constexpr std::uint32_t Base = 0xc82800;    // (200, 40, 0)
constexpr std::uint32_t Overlay = 0x0028c8; // (0, 40, 200)

int blended(int base, int overlay, int opacity)
{
    return (overlay * opacity + base * (255 - opacity) + 127) / 255;
}

struct Composed {
    Canvases canvases;
    LoadedPair loaded;
    std::uint32_t at(int x, int y) const { return canvases.picDest.Image().row(y)[x]; }
};

// Picture #1 is the base colour, picture #2 the overlay colour, of unlike sizes.
void compose(Composed& c, bool left, bool right, bool top, bool bottom, double bandStart)
{
    const Picture fields[] = {SolidPicture(100, 100, Base), SolidPicture(2000, 1000, Overlay)};
    const std::optional<BlendChoice> choice = ChooseBlend(left, right, top, bottom);
    ASSERT_TRUE(choice.has_value());
    ConstantAlphaBlitter blitter;
    ComposePair(c.canvases, c.loaded, fields[choice->baseField - 1], fields[choice->overlayField - 1],
                choice->direction, bandStart, blitter);
}

struct SideCase {
    const char* name;
    bool left, right, top, bottom;
    std::uint32_t nearColour; // where the band starts
    std::uint32_t farColour;  // faded in towards the far side
    bool vertical;
    int farOpacity; // of the one strip that covers the far edge
};

class Sides : public ::testing::TestWithParam<SideCase> {};

TEST_P(Sides, TheFarPictureFadesInTowardsTheFarSide)
{
    const SideCase& s = GetParam();
    Composed c;
    compose(c, s.left, s.right, s.top, s.bottom, 0);
    const auto pixel = [&](int along, int across) {
        return s.vertical ? c.at(across, along) : c.at(along, across);
    };
    const int length = s.vertical ? 425 : 729, breadth = s.vertical ? 729 : 425;

    for (int along = 0; along < 5; ++along)
        EXPECT_EQ(pixel(along, breadth / 2) & 0xffffff, s.nearColour) << along;
    EXPECT_NE(pixel(5, breadth / 2) & 0xffffff, s.nearColour) << "the first strip of opacity 1";

    const std::uint32_t far = pixel(length - 1, 0);
    for (const auto channel : {Red, Green, Blue})
        EXPECT_EQ(channel(far), blended(channel(s.nearColour), channel(s.farColour), s.farOpacity));

    // Across the band every line is alike, and the far picture's share never falls until the
    // last two lines, which fewer strips reach.
    for (int along = 1; along < length - 2; ++along) {
        EXPECT_EQ(pixel(along, 0), pixel(along, breadth - 1));
        const int previous = Red(pixel(along - 1, 0)), current = Red(pixel(along, 0));
        if (Red(s.farColour) > Red(s.nearColour))
            ASSERT_GE(current, previous) << along;
        else
            ASSERT_LE(current, previous) << along;
    }
}

INSTANTIATE_TEST_SUITE_P(
    PairComposition, Sides,
    ::testing::Values(SideCase{"Left", true, false, false, false, Base, Overlay, false, 254},
                      SideCase{"Right", false, true, false, false, Overlay, Base, false, 254},
                      SideCase{"Top", false, false, true, false, Base, Overlay, true, 147},
                      SideCase{"Bottom", false, false, false, true, Overlay, Base, true, 147}),
    [](const ::testing::TestParamInfo<SideCase>& info) { return std::string(info.param.name); });

TEST(PairComposition, TheFirstSelectedOptionWins)
{
    EXPECT_FALSE(ChooseBlend(false, false, false, false).has_value());
    const BlendChoice right = *ChooseBlend(false, true, true, true);
    EXPECT_EQ(right.baseField, 2);
    EXPECT_EQ(right.overlayField, 1);
    EXPECT_EQ(right.direction, 0);
    const BlendChoice top = *ChooseBlend(false, false, true, true);
    EXPECT_EQ(top.baseField, 1);
    EXPECT_EQ(top.direction, 1);
}

// Band starts that leave no strip inside the canvas show the stretched base alone.
TEST(PairComposition, BandsPastTheCanvasShowTheBaseAlone)
{
    struct Case {
        bool left, top;
        double start;
    } cases[] = {{true, false, 729}, {false, true, 500}, {false, true, 425}};
    for (const Case& k : cases) {
        Composed c;
        compose(c, k.left, false, k.top, false, k.start);
        for (int y = 0; y < 425; y += 53)
            for (int x = 0; x < 729; x += 91)
                ASSERT_EQ(c.at(x, y) & 0xffffff, Base) << k.start;
    }
}

// A second job with other pictures must not reuse anything of the first.
TEST(PairComposition, ASecondPairReplacesTheFirstEverywhere)
{
    Composed c;
    ConstantAlphaBlitter blitter;
    ComposePair(c.canvases, c.loaded, SolidPicture(300, 200, Base), SolidPicture(300, 200, Overlay), 0, 0, blitter);
    const Picture gray = SolidPicture(300, 200, 0x808080), white = SolidPicture(640, 480, 0xffffff);
    ComposePair(c.canvases, c.loaded, gray, white, 0, 729, blitter);
    EXPECT_EQ(c.at(0, 0) & 0xffffff, 0x808080u);
    EXPECT_EQ(c.at(728, 424) & 0xffffff, 0x808080u);
    EXPECT_EQ(c.loaded.origPic1.row(199)[299] & 0xffffff, 0x808080u);
    EXPECT_EQ(c.loaded.origPic2.row(199)[299] & 0xffffff, 0xffffffu);
}

// After the job only the pictures stretched over the canvases remain: the decoded ones, up to
// several times the canvas in size, go with it.
TEST(PairComposition, KeepsNoDecodedPictureAfterTheJob)
{
    Composed c;
    ConstantAlphaBlitter blitter;
    std::weak_ptr<const void> base, overlay;
    {
        const Picture first = SolidPicture(2000, 1000, Base), second = SolidPicture(1500, 900, Overlay);
        base = first.owner;
        overlay = second.owner;
        ComposePair(c.canvases, c.loaded, first, second, 0, 0, blitter);
    }
    EXPECT_TRUE(base.expired());
    EXPECT_TRUE(overlay.expired());
    EXPECT_EQ(c.at(0, 0) & 0xffffff, Base);
    EXPECT_EQ(c.loaded.origPic1.width, 729);
    EXPECT_EQ(c.loaded.origPic2.height, 425);
}

// A window composes job after job on the same canvases: each job's result is the one that
// fresh canvases give, whatever the last job left, and a result taken from an earlier job
// keeps its pixels.
TEST(PairComposition, ReusedCanvasesComposeAsFreshOnesDo)
{
    const auto picture = [](int w, int h, std::uint32_t seed) {
        return MakePicture(w, h, [seed](int x, int y) { return static_cast<std::uint32_t>(x * 7919 + y * 104729 + seed) * 2654435761u >> 8; });
    };
    struct Job {
        Picture base, overlay;
        double direction, start;
    } jobs[] = {{picture(1200, 700, 1), picture(729, 425, 2), 0, 0},
                {picture(729, 425, 3), picture(300, 900, 4), 1, 100},
                {picture(100, 100, 5), picture(2000, 1000, 6), 0, 600}};
    Composed reused;
    ConstantAlphaBlitter blitter;
    std::vector<Picture> results;
    for (const Job& job : jobs) {
        ComposePair(reused.canvases, reused.loaded, job.base, job.overlay, job.direction, job.start, blitter);
        results.push_back(reused.canvases.picDest.Image());
    }
    for (std::size_t i = 0; i < std::size(jobs); ++i) {
        Composed fresh;
        ComposePair(fresh.canvases, fresh.loaded, jobs[i].base, jobs[i].overlay, jobs[i].direction, jobs[i].start, blitter);
        const Picture expected = fresh.canvases.picDest.Image();
        for (int y = 0; y < 425; ++y)
            ASSERT_TRUE(std::equal(expected.row(y), expected.row(y) + 729, results[i].row(y))) << i << " row " << y;
    }
}

// The base is stretched without keeping its aspect ratio: its four quadrants land in the
// four quadrants of the canvas.
TEST(PairComposition, StretchesTheBaseOverTheWholeCanvas)
{
    const Picture quadrants = MakePicture(40, 10, [](int x, int y) -> std::uint32_t {
        return (x < 20 ? 0xff0000u : 0x00ff00u) | (y < 5 ? 0u : 0x0000ffu);
    });
    Composed c;
    ConstantAlphaBlitter blitter;
    ComposePair(c.canvases, c.loaded, quadrants, quadrants, 0, 729, blitter);
    EXPECT_EQ(c.at(10, 10) & 0xffffff, 0xff0000u);
    EXPECT_EQ(c.at(718, 10) & 0xffffff, 0x00ff00u);
    EXPECT_EQ(c.at(10, 414) & 0xffffff, 0xff00ffu);
    EXPECT_EQ(c.at(718, 414) & 0xffffff, 0x00ffffu);
}

} // namespace
