#include "core/PixelMemory.h"
#include "core/PopulatedPages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>

namespace {

// Below the size that is mapped with its pages at once, at it and a canvas above it:
// every buffer holds all its pixels, written and read back at both ends.
TEST(NewPixels, HoldsEveryPixelSmallOrLarge)
{
    for (const std::size_t count : {std::size_t{2}, std::size_t{65535}, std::size_t{65536}, std::size_t{729 * 425}}) {
        const std::shared_ptr<std::uint32_t[]> pixels = NewPixels(count);
        ASSERT_TRUE(pixels) << count;
        pixels[0] = 0x01020304u;
        pixels[count - 1] = 0x05060708u;
        EXPECT_EQ(pixels[0], 0x01020304u) << count;
        EXPECT_EQ(pixels[count - 1], 0x05060708u) << count;
    }
}

// A count whose bytes do not fit in a size must be refused, not wrapped round to a small
// buffer that is then written far past its end.
TEST(NewPixels, ACountWhoseBytesOverflowIsRefused)
{
    const std::size_t wrapsToAMappedSize = SIZE_MAX / 4 + 65537; // times 4 is 256 KiB past 2^64
    EXPECT_FALSE(MapPopulatedPixels(wrapsToAMappedSize));
    EXPECT_THROW(NewPixels(wrapsToAMappedSize), std::bad_alloc);
}

} // namespace
