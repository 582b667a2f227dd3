#pragma once

#include "core/Picture.h"
#include "engine/Canvas.h"

#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A picture whose pixels a function gives (0xRRGGBB; the alpha byte is set here).
inline Picture MakePicture(int width, int height, const std::function<std::uint32_t(int, int)>& pixel)
{
    auto pixels = std::make_shared<std::vector<std::uint32_t>>(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            (*pixels)[static_cast<std::size_t>(y) * width + x] = 0xff000000u | pixel(x, y);
    return Picture::fromPixels(pixels, width, height);
}

inline Picture SolidPicture(int width, int height, std::uint32_t rgb)
{
    return MakePicture(width, height, [rgb](int, int) { return rgb; });
}

// Pixels that no encoder can make much smaller, so that a file needs about as many bytes as the
// picture has.
inline Picture NoisePicture(int width, int height)
{
    return MakePicture(width, height, [](int x, int y) {
        std::uint32_t h = std::uint32_t(x) * 0x9e3779b1u ^ std::uint32_t(y) * 0x85ebca77u;
        h ^= h >> 15;
        h *= 0x2c1b3c6du;
        h ^= h >> 12;
        return h & 0xffffff;
    });
}

inline int Red(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xff); }
inline int Green(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xff); }
inline int Blue(std::uint32_t p) { return static_cast<int>(p & 0xff); }

// The size that pictures are decoded for: the canvas's.
inline const QSize CanvasSize(Canvas::Width, Canvas::Height);
