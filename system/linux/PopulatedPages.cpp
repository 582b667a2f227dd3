#include "core/PopulatedPages.h"

#include <sys/mman.h>

std::shared_ptr<std::uint32_t[]> MapPopulatedPixels(std::size_t count)
{
    if (count > SIZE_MAX / sizeof(std::uint32_t))
        return {};
    const std::size_t bytes = count * sizeof(std::uint32_t);
    void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (mapped == MAP_FAILED)
        return {};
    return {static_cast<std::uint32_t*>(mapped), [bytes](std::uint32_t* pixels) { munmap(pixels, bytes); }};
}
