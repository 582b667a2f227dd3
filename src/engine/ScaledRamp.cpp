#include "engine/ScaledRamp.h"

#include "engine/AlphaRamp.h"
#include "engine/Canvas.h"
#include "engine/PairComposition.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The window's ramp of a white overlay over a black base, read along its axis: each canvas
// unit's value is the overlay's share there, out of 255, with the blit's own rounding.
std::vector<double> canvasShares(double bandStart, bool horizontal)
{
    constexpr int W = Canvas::Width, H = Canvas::Height;
    std::vector<std::uint32_t> base(static_cast<std::size_t>(W) * H, 0xff000000u);
    std::vector<std::uint32_t> overlay(base.size(), 0xffffffffu);
    const Surface dst{base.data(), W, H, W};
    const Surface src{overlay.data(), W, H, W};
    ConstantAlphaBlitter blitter;
    AlphaRamp(blitter, dst, W, H, src, W, H, bandStart, BandEnd, horizontal ? 0 : 1);
    const int length = horizontal ? W : H;
    std::vector<double> shares(static_cast<std::size_t>(length));
    for (int u = 0; u < length; ++u) {
        const std::uint32_t pixel = horizontal ? dst.row(H / 2)[u] : dst.row(u)[W / 2];
        shares[static_cast<std::size_t>(u)] = (pixel & 0xffu) / 255.0;
    }
    return shares;
}

} // namespace

std::vector<std::uint32_t> ScaledRampShares(double bandStart, double direction, int length)
{
    std::vector<std::uint32_t> out(static_cast<std::size_t>(std::max(length, 0)), 0);
    if (direction != 0 && direction != 1)
        return out;
    const std::vector<double> canvas = canvasShares(bandStart, direction == 0);
    const int units = static_cast<int>(canvas.size());
    // Pixel centres map onto canvas unit centres; between two centres the share is
    // interpolated, so an enlarged ramp has no steps of a whole unit.
    const double scale = static_cast<double>(units) / length;
    for (int i = 0; i < length; ++i) {
        const double u = std::clamp((i + 0.5) * scale - 0.5, 0.0, units - 1.0);
        const int u0 = static_cast<int>(u);
        const int u1 = std::min(u0 + 1, units - 1);
        const double t = u - u0;
        const double share = canvas[static_cast<std::size_t>(u0)] * (1 - t) + canvas[static_cast<std::size_t>(u1)] * t;
        out[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(std::lround(share * RampShareOne));
    }
    return out;
}

namespace {

inline std::uint32_t blendPixel(std::uint32_t base, std::uint32_t overlay, std::uint32_t share)
{
    const std::uint32_t keep = RampShareOne - share;
    std::uint32_t out = 0xff000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t b = (base >> shift) & 0xffu, o = (overlay >> shift) & 0xffu;
        out |= ((b * keep + o * share + RampShareOne / 2) >> 16) << shift;
    }
    return out;
}

} // namespace

void BlendRowAcross(const std::uint32_t* base, const std::uint32_t* overlay, const std::uint32_t* shares,
                    std::uint32_t* out, int width)
{
    for (int x = 0; x < width; ++x)
        out[x] = blendPixel(base[x], overlay[x], shares[x]);
}

void BlendRowEvenly(const std::uint32_t* base, const std::uint32_t* overlay, std::uint32_t share,
                    std::uint32_t* out, int width)
{
    if (share == 0) {
        std::copy_n(base, width, out);
        return;
    }
    if (share == RampShareOne) {
        std::copy_n(overlay, width, out);
        return;
    }
    for (int x = 0; x < width; ++x)
        out[x] = blendPixel(base[x], overlay[x], share);
}
