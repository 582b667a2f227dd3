#include "codecs/ExifOrientation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A TIFF number of `bytes` bytes in the byte order.
Bytes number(std::uint32_t value, int bytes, bool bigEndian)
{
    Bytes out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * (bigEndian ? bytes - 1 - i : i))));
    return out;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct OrientationEntry {
    std::uint32_t type;
    std::uint32_t count;
    Bytes value;         // the entry's four value bytes, as stored
    Bytes beyond = {};   // data after the directory, which the value bytes may point at
};

// An EXIF payload whose first directory holds an unrelated entry and then the orientation's.
Bytes exifPayload(bool bigEndian, const OrientationEntry& orientation)
{
    const auto n = [&](std::uint32_t value, int bytes) { return number(value, bytes, bigEndian); };
    const Bytes width = n(0x0100, 2) + n(4, 2) + n(1, 4) + n(4000, 4);
    const Bytes entry = n(0x0112, 2) + n(orientation.type, 2) + n(orientation.count, 4) + orientation.value;
    return Bytes{'E', 'x', 'i', 'f', 0, 0} + (bigEndian ? Bytes{'M', 'M', 0, 42} : Bytes{'I', 'I', 42, 0}) + n(8, 4)
           + n(2, 2) + width + entry + n(0, 4) + orientation.beyond;
}

struct OrientationCase {
    const char* what;
    OrientationEntry (*entry)(bool bigEndian);
    int orientation;
};

// Where the directory's data after it starts, from the TIFF header: 8 + 2 + 2 entries + 4.
constexpr std::uint32_t Beyond = 8 + 2 + 2 * 12 + 4;

const OrientationCase Cases[] = {
    {"a SHORT, as the standard has it", [](bool be) { return OrientationEntry{3, 1, number(6, 2, be) + Bytes{0, 0}}; }, 6},
    {"a LONG", [](bool be) { return OrientationEntry{4, 1, number(8, 4, be)}; }, 8},
    {"a BYTE", [](bool) { return OrientationEntry{1, 1, {3, 0, 0, 0}}; }, 3},
    {"a signed SHORT", [](bool be) { return OrientationEntry{8, 1, number(5, 2, be) + Bytes{0, 0}}; }, 5},
    {"a signed LONG", [](bool be) { return OrientationEntry{9, 1, number(7, 4, be)}; }, 7},
    {"two SHORTs: the first counts", [](bool be) { return OrientationEntry{3, 2, number(2, 2, be) + number(4, 2, be)}; }, 2},
    {"three SHORTs, stored beyond the directory",
     [](bool be) { return OrientationEntry{3, 3, number(Beyond, 4, be), number(6, 2, be) + number(1, 2, be) + number(1, 2, be)}; }, 6},
    {"a LONG pointing past the end", [](bool be) { return OrientationEntry{4, 2, number(5000, 4, be)}; }, 1},
    {"a negative signed SHORT", [](bool be) { return OrientationEntry{8, 1, number(0xfffa, 2, be) + Bytes{0, 0}}; }, 1},
    {"a value past 8", [](bool be) { return OrientationEntry{3, 1, number(9, 2, be) + Bytes{0, 0}}; }, 1},
    {"a value of 0", [](bool be) { return OrientationEntry{4, 1, number(0, 4, be)}; }, 1},
    {"no value", [](bool be) { return OrientationEntry{3, 0, number(6, 2, be) + Bytes{0, 0}}; }, 1},
    {"text", [](bool) { return OrientationEntry{2, 2, {'6', 0, 0, 0}}; }, 1},
    {"a fraction", [](bool be) { return OrientationEntry{5, 1, number(Beyond, 4, be), number(6, 4, be) + number(1, 4, be)}; }, 1},
};

// The orientation is read as its entry's type says, in either byte order.
TEST(ExifOrientation, IsReadAsItsTypeSaysInEitherByteOrder)
{
    for (const OrientationCase& c : Cases)
        for (const bool bigEndian : {false, true})
            EXPECT_EQ(ExifOrientation(exifPayload(bigEndian, c.entry(bigEndian))), c.orientation)
                << c.what << (bigEndian ? ", big-endian" : ", little-endian");
}

// A payload cut anywhere, or with a directory past its end, gives the picture as stored.
TEST(ExifOrientation, ADamagedPayloadLeavesThePictureAsStored)
{
    const Bytes whole = exifPayload(true, {4, 1, number(6, 4, true)});
    ASSERT_EQ(ExifOrientation(whole), 6);
    for (std::size_t size = 0; size < whole.size() - 4; ++size)
        EXPECT_EQ(ExifOrientation(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(size))), 1) << size;
    Bytes farDirectory = whole;
    farDirectory[10] = 0x7f; // the directory's offset, big-endian, now about two billion
    EXPECT_EQ(ExifOrientation(farDirectory), 1);
    EXPECT_EQ(ExifOrientation(Bytes{'E', 'x', 'i', 'f', 0, 0, 'X', 'X', 0, 42, 0, 0, 0, 8}), 1);
}

} // namespace
