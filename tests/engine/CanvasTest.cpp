#include "engine/Canvas.h"
#include "engine/Resample.h"
#include "fakes/TestPictures.h"

#include <gtest/gtest.h>

namespace {

TEST(Canvas, ClearShowsThePictureAtTheTopLeftOnTheBackColour)
{
    Canvas canvas(0x0000c0);
    canvas.setPicture(SolidPicture(100, 50, 0x123456));
    const Picture image = canvas.Image();
    EXPECT_EQ(image.width, 729);
    EXPECT_EQ(image.height, 425);
    EXPECT_EQ(image.row(49)[99] & 0xffffff, 0x123456u);
    EXPECT_EQ(image.row(49)[100] & 0xffffff, 0x0000c0u);
    EXPECT_EQ(image.row(50)[0] & 0xffffff, 0x0000c0u);
}

TEST(Canvas, APictureTakenOfTheImageKeepsItsPixelsWhenTheCanvasDrawsAgain)
{
    Canvas canvas(0xffffff);
    canvas.PaintPicture(SolidPicture(1024, 768, 0x102030), 0, 0, 729, 425);
    const Picture before = canvas.Image();
    Surface surface = canvas.hDC();
    surface.row(0)[0] = 0xff000000u;
    EXPECT_EQ(before.row(0)[0] & 0xffffff, 0x102030u);
    EXPECT_EQ(canvas.Image().row(0)[0] & 0xffffff, 0u);

    canvas.setPicture(before);
    canvas.hDC().row(1)[1] = 0xff000000u;
    canvas.Cls();
    EXPECT_EQ(canvas.Image().row(1)[1] & 0xffffff, 0x102030u) << "a clear restores the background";
}

TEST(Canvas, PaintsIntoARectangleClippedToTheCanvas)
{
    Canvas canvas(0xffffff);
    canvas.PaintPicture(SolidPicture(3, 3, 0xff0000), 700, 400, 100, 100);
    const Picture image = canvas.Image();
    EXPECT_EQ(image.row(399)[728] & 0xffffff, 0xffffffu);
    EXPECT_EQ(image.row(400)[700] & 0xffffff, 0xff0000u);
    EXPECT_EQ(image.row(424)[728] & 0xffffff, 0xff0000u);
}

TEST(StretchPicture, KeepsFlatColoursFlatAndAveragesWhenReducing)
{
    for (const auto& [w, h] : {std::pair{1, 1}, {100, 100}, {729, 425}, {2000, 1000}, {5, 3000}}) {
        std::vector<std::uint32_t> out(729 * 425);
        StretchPicture(SolidPicture(w, h, 0x7f3a09), {out.data(), 729, 425, 729});
        for (std::uint32_t p : out)
            ASSERT_EQ(p, 0xff7f3a09u) << w << "x" << h;
    }
    // Fine black and white stripes come out grey, not as a pattern (away from the edges,
    // where the filter has only one side: its three lobes reach three target pixels in).
    const Picture stripes = MakePicture(1458, 850, [](int x, int) { return x % 2 ? 0xffffffu : 0u; });
    std::vector<std::uint32_t> out(729 * 425);
    StretchPicture(stripes, {out.data(), 729, 425, 729});
    for (int y = 0; y < 425; y += 7)
        for (int x = 3; x < 726; ++x)
            ASSERT_NEAR(Red(out[static_cast<std::size_t>(y) * 729 + x]), 128, 1) << x;
}

} // namespace
