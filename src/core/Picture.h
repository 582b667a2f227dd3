#pragma once

#include "core/Surface.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// An immutable picture: 32-bit pixels 0xffRRGGBB. Copies share the pixels; whoever made the
// picture (a decoder, a canvas) keeps them alive through `owner`, so wrapping a decoded
// image costs no copy.
struct Picture {
    std::shared_ptr<const void> owner;
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    bool isNull() const { return pixels == nullptr || width <= 0 || height <= 0; }
    const std::uint32_t* row(int y) const { return pixels + y * stride; }
    // Read-only view for the blit's source side.
    Surface surface() const { return {const_cast<std::uint32_t*>(pixels), width, height, stride}; }
    bool sharesPixelsWith(const Picture& other) const
    {
        return pixels == other.pixels && width == other.width && height == other.height
               && stride == other.stride;
    }

    static Picture fromPixels(std::shared_ptr<std::vector<std::uint32_t>> buffer, int width,
                              int height);
    // A buffer of width x height pixels, row after row.
    static Picture fromPixels(std::shared_ptr<std::uint32_t[]> buffer, int width, int height);
};
