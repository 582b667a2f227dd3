#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Memory for the pixels of a picture or a canvas, not cleared: every pixel is written before
// it is read. A large buffer comes with all its pages at once where the system can do that,
// since touching fresh pages one by one costs a page fault each, and in a virtual machine each
// takes microseconds: a canvas has three hundred pages.
std::shared_ptr<std::uint32_t[]> NewPixels(std::size_t count);
