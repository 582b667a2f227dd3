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

namespace {

// Keeps the rows a resampler hands on, in the order they came.
class KeptRows : public RowSink {
public:
    explicit KeptRows(int width) : width_(width) {}
    void takeRow(int y, const std::uint32_t* row) override
    {
        rows.push_back(y);
        pixels.insert(pixels.end(), row, row + width_);
    }
    std::vector<int> rows;
    std::vector<std::uint32_t> pixels;

private:
    int width_;
};

} // namespace

// Handed to a sink, the rows are the ones the resampler writes into a target, for a reduction,
// an enlargement and the same size, over a range of the target's rows.
TEST(RowResamplerSink, HandsOnTheRowsItWouldWrite)
{
    const Picture source = MakePicture(90, 60, [](int x, int y) { return 0xff000000u | std::uint32_t(x * 2833 + y * 977); });
    struct Case {
        int width, height, first, end;
    };
    for (const Case c : {Case{31, 17, 0, 17}, Case{200, 130, 40, 90}, Case{90, 60, 10, 60}}) {
        std::vector<std::uint32_t> written(std::size_t(c.width) * std::size_t(c.height));
        const Surface target{written.data(), c.width, c.height, c.width};
        RowResampler intoTarget(source.width, source.height, target, c.first, c.end);
        KeptRows kept(c.width);
        RowResampler intoSink(source.width, source.height, c.width, c.height, c.first, c.end, kept);
        for (int y = 0; y < source.height; ++y) {
            intoTarget.addRow(source.row(y));
            intoSink.addRow(source.row(y));
        }
        std::vector<int> expectedRows;
        for (int y = c.first; y < c.end; ++y)
            expectedRows.push_back(y);
        EXPECT_EQ(kept.rows, expectedRows) << c.width;
        const std::vector<std::uint32_t> expected(written.begin() + std::ptrdiff_t(c.first) * c.width,
                                                  written.begin() + std::ptrdiff_t(c.end) * c.width);
        EXPECT_EQ(kept.pixels, expected) << c.width;
    }
}
