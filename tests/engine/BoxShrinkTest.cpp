#include "engine/BoxShrink.h"
#include "fakes/TestPictures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::uint32_t noiseAt(int x, int y)
{
    return 0xff000000u | (static_cast<std::uint32_t>(x * 7919 + y * 104729) * 2654435761u >> 8);
}

// The rows a shrink makes of a picture fed whole rows, `piece` pixels at a time.
std::vector<std::vector<std::uint32_t>> shrink(const Picture& picture, int factorX, int factorY, std::size_t piece)
{
    BoxShrink box(picture.width, picture.height, factorX, factorY);
    std::vector<std::vector<std::uint32_t>> rows;
    for (int y = 0; y < picture.height; ++y) {
        for (std::size_t x = 0; x < std::size_t(picture.width); x += piece) {
            const std::size_t count = std::min(piece, std::size_t(picture.width) - x);
            if (const std::uint32_t* row = box.add(picture.row(y) + x, count))
                rows.emplace_back(row, row + box.width());
        }
    }
    EXPECT_TRUE(box.finished());
    return rows;
}

struct ShrinkCase {
    int width, height, factorX, factorY;
};

// Each pixel made is the rounded mean of its box. A side of n pixels shrunk by f has n / f
// pixels, and box i takes the pixels from i * n / s to (i + 1) * n / s: where f does not divide
// n, boxes one pixel larger are spread evenly, so that the shrunk pixels keep the picture's
// geometry. A factor of 1 leaves that side as it is.
TEST(BoxShrink, EachPixelIsTheMeanOfItsBoxAndTheBoxesSpreadEvenly)
{
    for (const ShrinkCase c : {ShrinkCase{7, 5, 3, 2}, {10, 1, 4, 1}, {1, 9, 1, 4}, {6, 6, 6, 6}, {5, 3, 1, 1}, {9, 4, 2, 3}, {29, 11, 3, 3}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " by " << c.factorX << "x" << c.factorY);
        const Picture picture = MakePicture(c.width, c.height, [](int x, int y) { return noiseAt(x, y); });
        const std::vector<std::vector<std::uint32_t>> rows = shrink(picture, c.factorX, c.factorY, std::size_t(c.width));
        const int shrunkWidth = c.width / c.factorX, shrunkHeight = c.height / c.factorY;
        ASSERT_EQ(rows.size(), std::size_t(shrunkHeight));
        for (int by = 0; by < shrunkHeight; ++by) {
            ASSERT_EQ(rows[std::size_t(by)].size(), std::size_t(shrunkWidth));
            for (int bx = 0; bx < shrunkWidth; ++bx) {
                std::uint32_t expected = 0xff000000u;
                for (int shift = 0; shift < 24; shift += 8) {
                    int sum = 0, count = 0;
                    for (int y = by * c.height / shrunkHeight; y < (by + 1) * c.height / shrunkHeight; ++y)
                        for (int x = bx * c.width / shrunkWidth; x < (bx + 1) * c.width / shrunkWidth; ++x, ++count)
                            sum += int(picture.row(y)[x] >> shift & 0xff);
                    expected |= std::uint32_t((sum + count / 2) / count) << shift;
                }
                EXPECT_EQ(rows[std::size_t(by)][std::size_t(bx)], expected) << bx << "," << by;
            }
        }
    }
}

// A decoder may hand a row in pieces of any size; pixels past a row's end are dropped.
TEST(BoxShrink, RowsInPiecesGiveTheSameRows)
{
    const Picture picture = MakePicture(1000, 30, [](int x, int y) { return noiseAt(x, y); });
    const auto whole = shrink(picture, 7, 4, 1000);
    for (const std::size_t piece : {std::size_t(1), std::size_t(3), std::size_t(7), std::size_t(999)})
        EXPECT_EQ(shrink(picture, 7, 4, piece), whole) << piece;

    BoxShrink box(4, 1, 2, 1);
    const std::uint32_t pixels[] = {0xff000000u, 0xff000000u, 0xff0000ffu, 0xff0000ffu, 0xffffffffu, 0xffffffffu};
    const std::uint32_t* row = box.add(pixels, 6);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row[0], 0xff000000u);
    EXPECT_EQ(row[1], 0xff0000ffu);
    EXPECT_TRUE(box.finished());
    EXPECT_EQ(box.add(pixels, 6), nullptr) << "rows past the picture's end are dropped";
}

// Rows of one colour, as jumps over empty rows make, count as those rows pixel by pixel.
TEST(BoxShrink, RowsOfOneColourCountAsTheirPixels)
{
    constexpr int Width = 11, Height = 23;
    constexpr std::uint32_t Colour = 0xff3060a0u;
    const Picture picture = MakePicture(Width, Height, [](int x, int y) { return y >= 2 && y < 20 ? Colour : noiseAt(x, y); });
    const auto expected = shrink(picture, 3, 5, Width);

    BoxShrink box(Width, Height, 3, 5);
    std::vector<std::vector<std::uint32_t>> rows;
    const auto keep = [&](const std::uint32_t* row) {
        if (row)
            rows.emplace_back(row, row + box.width());
    };
    for (int y = 0; y < 2; ++y)
        keep(box.add(picture.row(y), Width));
    for (int left = 18; left > 0;) {
        const int rowsNow = std::min(left, box.rowsLeftInBox());
        keep(box.addRowsOf(Colour, rowsNow));
        left -= rowsNow;
    }
    for (int y = 20; y < Height; ++y)
        keep(box.add(picture.row(y), Width));
    EXPECT_EQ(rows, expected);
}

struct FactorCase {
    int source, target, leave, factor;
};

TEST(BoxShrink, FactorLeavesAtLeastTheGivenTimesTheTarget)
{
    const FactorCase cases[] = {
        {40'000'000, 425, 8, 11764}, // leaves 3401 rows, 8.0 times 425
        {11663, 729, 8, 1},          // a box of two would leave less than eight times
        {11664, 729, 8, 2},
        {6000, 729, 8, 1},
        {729, 729, 8, 1},
        {100, 0, 8, 12},             // no target: taken as one pixel
    };
    for (const FactorCase& c : cases) {
        EXPECT_EQ(BoxShrink::FactorLeaving(c.source, c.target, c.leave), c.factor) << c.source << " to " << c.target;
        EXPECT_GE(BoxShrink::ShrunkLength(c.source, c.factor), std::min(c.source, std::max(c.target, 1) * c.leave));
        EXPECT_LT(BoxShrink::ShrunkLength(c.source, c.factor + 1), std::max(c.target, 1) * c.leave);
    }
}

} // namespace
