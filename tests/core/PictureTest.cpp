#include "core/Picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

// A decoder hands its rows over without a copy: the picture, and every copy of it, keeps the
// buffer alive, and the last of them to go frees it.
TEST(Picture, KeepsTheBufferItWrapsAliveForAsLongAsAnyCopy)
{
    auto buffer = std::make_shared<std::vector<std::uint32_t>>(std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6});
    const std::weak_ptr<std::vector<std::uint32_t>> watched = buffer;
    Picture copy;
    {
        const Picture picture = Picture::fromPixels(std::move(buffer), 3, 2);
        copy = picture;
    }
    ASSERT_FALSE(watched.expired());
    EXPECT_EQ(copy.stride, 3);
    EXPECT_EQ(copy.row(1)[2], 6u);
    EXPECT_TRUE(copy.sharesPixelsWith(Picture(copy)));
    copy = Picture();
    EXPECT_TRUE(watched.expired());
}

} // namespace
