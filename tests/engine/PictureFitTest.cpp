#include "engine/PictureFit.h"

#include <gtest/gtest.h>

namespace {

bool operator==(const PixelRect& a, const PixelRect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

} // namespace

// A stretch takes the target as it is; a cover scales the picture, up or down, until its
// relatively shorter side meets the target's, and shows the middle of the longer one.
TEST(FittedScale, StretchTakesTheTargetAndCoverTheMiddleOfThePictureScaled)
{
    struct Case {
        const char* what;
        int width, height, targetWidth, targetHeight;
        PictureFit fit;
        int scaledWidth, scaledHeight;
        PixelRect shown;
    };
    const Case cases[] = {
        {"stretch", 6000, 4000, 729, 425, PictureFit::Stretch, 729, 425, {0, 0, 729, 425}},
        {"wider, reduced", 6000, 4000, 1000, 1000, PictureFit::Cover, 1500, 1000, {250, 0, 1000, 1000}},
        {"taller, reduced", 3000, 4000, 1200, 600, PictureFit::Cover, 1200, 1600, {0, 500, 1200, 600}},
        {"smaller, enlarged", 300, 200, 1200, 1200, PictureFit::Cover, 1800, 1200, {300, 0, 1200, 1200}},
        {"same proportions", 1600, 900, 800, 450, PictureFit::Cover, 800, 450, {0, 0, 800, 450}},
        {"rounded to nearest", 1000, 3, 10, 10, PictureFit::Cover, 3333, 10, {1661, 0, 10, 10}},
        // Billions of pixels along the line: kept at the longest scaled side, in ints.
        {"a line covering a square", 10000000, 1, 1000, 1000, PictureFit::Cover, MostScaledSide, 1000,
         {(MostScaledSide - 1000) / 2, 0, 1000, 1000}},
    };
    for (const Case& c : cases) {
        const FittedScale scale = FittedScaleOf(c.width, c.height, c.targetWidth, c.targetHeight, c.fit);
        EXPECT_EQ(scale.scaled.width, c.scaledWidth) << c.what;
        EXPECT_EQ(scale.scaled.height, c.scaledHeight) << c.what;
        EXPECT_TRUE(scale.shown == c.shown) << c.what;
    }
}
