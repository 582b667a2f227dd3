#include "core/PixelMemory.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t MappedFromBytes = 256 * 1024;

} // namespace

std::shared_ptr<std::uint32_t[]> NewPixels(std::size_t count)
{
#if defined(__linux__)
    const std::size_t bytes = count * sizeof(std::uint32_t);
    if (bytes >= MappedFromBytes) {
        void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (mapped != MAP_FAILED)
            return {static_cast<std::uint32_t*>(mapped), [bytes](std::uint32_t* pixels) { munmap(pixels, bytes); }};
    }
#endif
    return std::make_shared_for_overwrite<std::uint32_t[]>(count);
}
