#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Memory for `count` pixels with all its pages in place from the start, not cleared; empty
// where the system has no such call or refuses. Plain C++ has no word for it: the build takes
// the system's own source from system/ (Linux maps the pages populated), or one that always
// answers empty.
std::shared_ptr<std::uint32_t[]> MapPopulatedPixels(std::size_t count);
