#pragma once

#include <cstddef>
#include <cstdint>

// A drawing surface: 32-bit pixels 0xffRRGGBB, rows `stride` pixels apart.
struct Surface {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    std::uint32_t* row(int y) const { return pixels + y * stride; }
};
