#include "codecs/ReducedPicture.h"
#include "fakes/TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

Picture reduce(const Picture& picture, QSize canvas)
{
    ReducedPicture reduced(QSize(picture.width, picture.height), 1, canvas);
    for (int y = 0; y < picture.height; ++y)
        reduced.addRow(picture.row(y));
    return reduced.finish();
}

std::vector<std::uint32_t> pixelsOf(const Picture& picture)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < picture.height; ++y)
        pixels.insert(pixels.end(), picture.row(y), picture.row(y) + picture.width);
    return pixels;
}

// Up to twice FilterReduction times a side, the filter alone reduces the picture, in one pass:
// a photo gets exactly the pixels it always had.
TEST(ReducedPicture, ReductionsOfPhotosAreTheFilterAlone)
{
    for (const QSize size : {QSize(3001, 1777), QSize(11663, 300), QSize(700, 6799)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const Picture noise = MakePicture(size.width(), size.height(), [](int x, int y) {
            return static_cast<std::uint32_t>(x * 7919 + y * 104729) * 2654435761u >> 8;
        });
        const QSize reduced = ReducedSize(size, false, CanvasSize);
        std::vector<std::uint32_t> filtered(std::size_t(reduced.width()) * std::size_t(reduced.height()));
        RowResampler resampler(size.width(), size.height(), {filtered.data(), reduced.width(), reduced.height(), reduced.width()});
        for (int y = 0; y < noise.height; ++y)
            resampler.addRow(noise.row(y));
        EXPECT_EQ(pixelsOf(reduce(noise, CanvasSize)), filtered);
    }
}

// A larger reduction is a box shrink and then the filter: the result is that of the filter
// alone within a grey level or two (each box lies within a source pixel of where the filter
// would take it), and its memory stays small whatever the proportions.
TEST(ReducedPicture, LargeReductionsShrinkInBoxesFirstAndAreStillTheFiltersResult)
{
    const auto wave = [](int x, int y) {
        const auto level = [](double t) { return std::uint32_t(127.5 + 100 * std::sin(t)); };
        return level(x * 2 * std::numbers::pi / 600) << 16 | level(y * 2 * std::numbers::pi / 40) << 8 | level((x + y) / 500.0);
    };
    const Picture picture = MakePicture(40000, 400, wave);
    const Picture twoSteps = reduce(picture, QSize(729, 20));
    std::vector<std::uint32_t> oneStep(729 * 20);
    RowResampler filter(picture.width, picture.height, {oneStep.data(), 729, 20, 729});
    for (int y = 0; y < picture.height; ++y)
        filter.addRow(picture.row(y));
    ASSERT_EQ(twoSteps.width, 729);
    ASSERT_EQ(twoSteps.height, 20);
    const std::vector<std::uint32_t> got = pixelsOf(twoSteps);
    for (std::size_t i = 0; i < got.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            ASSERT_LE(std::abs(int(got[i] >> shift & 0xff) - int(oneStep[i] >> shift & 0xff)), 2) << i;

    for (const QSize line : {QSize(1, 134'000'000), QSize(134'000'000, 1), QSize(11585, 11585), QSize(65535, 2048)})
        EXPECT_LT(ReductionBytes(line, 1, CanvasSize), std::size_t(4) << 20) << line.width() << "x" << line.height();
}

} // namespace
