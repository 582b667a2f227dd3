#include "core/PixelMemory.h"

#include "core/PopulatedPages.h"

namespace {

constexpr std::size_t MappedFromBytes = 256 * 1024;

} // namespace

std::shared_ptr<std::uint32_t[]> NewPixels(std::size_t count)
{
    if (count >= MappedFromBytes / sizeof(std::uint32_t)) {
        if (std::shared_ptr<std::uint32_t[]> mapped = MapPopulatedPixels(count))
            return mapped;
    }
    return std::make_shared_for_overwrite<std::uint32_t[]>(count);
}
