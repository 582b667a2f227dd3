#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Shrinks a picture that arrives row by row, top to bottom, by whole factors across and down:
// each pixel made is the mean of a box of source pixels. A side of n pixels shrinks by a factor
// f to s = n / f pixels (rounded down), and box i covers the source pixels from i * n / s to
// (i + 1) * n / s (rounded down): f pixels, or one more where f does not divide n, spread
// evenly, so that the shrunk pixels lie on an even grid over the whole side and the filter
// that follows keeps the picture's geometry exact.
// The first step of a large reduction: it costs one addition per source channel whatever the
// factors, and holds one row of sums, so a line of millions of pixels reaches the filter as a
// few thousand.
class BoxShrink {
public:
    BoxShrink(int sourceWidth, int sourceHeight, int factorX, int factorY);

    // The largest whole factor that leaves at least `leave` times `target` of `source`, or 1.
    static int FactorLeaving(int source, int target, int leave);
    // The length a side of `source` pixels shrinks to.
    static int ShrunkLength(int source, int factor);
    // The memory a shrink of rows `sourceWidth` wide by `factorX` across holds.
    static std::size_t BytesNeeded(int sourceWidth, int factorX);

    int width() const { return int(width_); }
    int height() const { return int(height_); }

    // The next `count` pixels (0xffRRGGBB) of the current source row; pixels past its end are
    // dropped. Returns the shrunk row, width() pixels, once these complete the last source row
    // under it; else nullptr.
    const std::uint32_t* add(const std::uint32_t* pixels, std::size_t count);
    // The source rows that complete the shrunk row being made.
    int rowsLeftInBox() const { return int(down_.end - sourceRow_); }
    // `rows` whole source rows of one colour, at most rowsLeftInBox(), from the start of a row:
    // the work of one shrunk row whatever their number. Returns the shrunk row when they
    // complete it.
    const std::uint32_t* addRowsOf(std::uint32_t colour, int rows);
    // Whether every source row has arrived.
    bool finished() const { return sourceRow_ >= sourceHeight_; }

private:
    static constexpr std::size_t Channels = 3; // blue, green, red

    // The boxes along one side: n pixels shrunk to s, box i ending at (i + 1) * n / s, that is
    // q = n / s pixels, or q + 1 where the remainder r = n % s carries over; walked without a
    // division.
    struct Boxes {
        std::uint64_t size = 0, remainder = 0, shrunk = 0;
        std::uint64_t end = 0;     // where the current box ends
        std::uint64_t carried = 0; // (box index + 1) * r % s
        void start(std::uint64_t source, std::uint64_t shrunkLength);
        void next();
        // The length of the box after the current one.
        std::uint64_t nextLength() const { return size + (carried + remainder >= shrunk ? 1 : 0); }
    };
    void rowEnds();
    const std::uint32_t* makeRow();

    std::uint64_t sourceWidth_, sourceHeight_;
    std::uint64_t width_, height_;
    std::vector<std::uint64_t> sums_; // of each box of the row being made
    std::vector<std::uint32_t> row_;
    std::uint64_t x_ = 0;   // in the source row, at most sourceWidth_
    std::uint64_t box_ = 0; // the box that x_ lies in
    Boxes across_;          // where box_ ends
    std::uint64_t sourceRow_ = 0;
    std::uint64_t rowStart_ = 0; // where the rows of the shrunk row being made start, and end
    Boxes down_;
};
