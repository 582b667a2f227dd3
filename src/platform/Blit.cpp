#include "platform/Blit.h"

#include <algorithm>
#include <vector>

namespace {

// Blends two pixels with opacity a (0..255), each channel rounded to nearest.
// Red and blue are blended together in one 32-bit word, green alone.
inline std::uint32_t blendPixel(std::uint32_t s, std::uint32_t d, std::uint32_t a)
{
    const std::uint32_t na = 255 - a;
    std::uint32_t rb = (s & 0x00ff00ffu) * a + (d & 0x00ff00ffu) * na + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
    std::uint32_t g = ((s >> 8) & 0xffu) * a + ((d >> 8) & 0xffu) * na + 0x80u;
    g = ((g + (g >> 8)) >> 8) & 0xffu;
    return 0xff000000u | rb | (g << 8);
}

} // namespace

bool ConstantAlphaBlitter::AlphaBlend(const Surface& dst, int dx, int dy, int dw, int dh,
                                      const Surface& src, int sx, int sy, int sw, int sh,
                                      std::uint32_t blendValue)
{
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return false;
    if (sx < 0 || sy < 0 || static_cast<long long>(sx) + sw > src.width
        || static_cast<long long>(sy) + sh > src.height)
        return false;

    const std::uint32_t a = (blendValue >> 16) & 0xffu;
    const long long x0 = std::max<long long>(dx, 0);
    const long long y0 = std::max<long long>(dy, 0);
    const long long x1 = std::min<long long>(static_cast<long long>(dx) + dw, dst.width);
    const long long y1 = std::min<long long>(static_cast<long long>(dy) + dh, dst.height);
    if (x0 >= x1 || y0 >= y1)
        return true;
    if (a == 0)
        return true;

    // Source column for each destination column (nearest sample; identity when unscaled).
    const int cols = static_cast<int>(x1 - x0);
    std::vector<int> srcX(static_cast<std::size_t>(cols));
    for (int i = 0; i < cols; ++i) {
        const long long x = x0 + i - dx;
        srcX[static_cast<std::size_t>(i)] = sx + static_cast<int>(x * sw / dw);
    }
    for (long long y = y0; y < y1; ++y) {
        const int syRow = sy + static_cast<int>((y - dy) * sh / dh);
        const std::uint32_t* s = src.row(syRow);
        std::uint32_t* d = dst.row(static_cast<int>(y)) + x0;
        if (a == 255) {
            for (int i = 0; i < cols; ++i)
                d[i] = s[srcX[static_cast<std::size_t>(i)]];
        } else {
            for (int i = 0; i < cols; ++i)
                d[i] = blendPixel(s[srcX[static_cast<std::size_t>(i)]], d[i], a);
        }
    }
    return true;
}
