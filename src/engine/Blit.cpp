#include "engine/Blit.h"

#include <algorithm>
#include <cstddef>

namespace {

// One channel: s * a/255 + d * (1 - a/255), rounded to nearest. Exact for all inputs, and
// a = 0 leaves d as it is. 16-bit arithmetic throughout, so the byte loops below vectorise.
inline std::uint8_t blendChannel(std::uint8_t s, std::uint8_t d, std::uint8_t a)
{
    const std::uint16_t t = static_cast<std::uint16_t>(s * a + d * (255 - a) + 128);
    return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
}

// Blends a run of pixels, byte by byte, with one opacity.
void blendRun(const std::uint32_t* src, std::uint32_t* dst, int count, std::uint8_t a)
{
    if (a == 255) {
        std::copy_n(src, count, dst);
        return;
    }
    const auto* s = reinterpret_cast<const std::uint8_t*>(src);
    auto* d = reinterpret_cast<std::uint8_t*>(dst);
    const std::size_t n = static_cast<std::size_t>(count) * 4;
    for (std::size_t i = 0; i < n; ++i)
        d[i] = blendChannel(s[i], d[i], a);
}

// Blends a run of pixels with an opacity per byte.
void blendRun(const std::uint32_t* src, std::uint32_t* dst, int count, const std::uint8_t* alphas)
{
    const auto* s = reinterpret_cast<const std::uint8_t*>(src);
    auto* d = reinterpret_cast<std::uint8_t*>(dst);
    const std::size_t n = static_cast<std::size_t>(count) * 4;
    for (std::size_t i = 0; i < n; ++i)
        d[i] = blendChannel(s[i], d[i], alphas[i]);
}

// A call checked against the refusal rules, its destination clipped.
struct Prepared {
    BlitCall call;
    int x0, x1, y0, y1; // clipped destination, end exclusive
    std::uint8_t alpha;

    bool scaled() const { return call.sw != call.dw || call.sh != call.dh; }
    bool inPlace() const { return !scaled() && call.sx == call.dx && call.sy == call.dy; }
};

bool prepare(const Surface& dst, const Surface& src, const BlitCall& c, Prepared& out)
{
    if (c.dw <= 0 || c.dh <= 0 || c.sw <= 0 || c.sh <= 0)
        return false;
    if (c.sx < 0 || c.sy < 0 || static_cast<long long>(c.sx) + c.sw > src.width
        || static_cast<long long>(c.sy) + c.sh > src.height)
        return false;
    out.call = c;
    out.x0 = std::max(c.dx, 0);
    out.y0 = std::max(c.dy, 0);
    out.x1 = static_cast<int>(std::min<long long>(static_cast<long long>(c.dx) + c.dw, dst.width));
    out.y1 = static_cast<int>(std::min<long long>(static_cast<long long>(c.dy) + c.dh, dst.height));
    out.alpha = static_cast<std::uint8_t>((c.blendValue >> 16) & 0xffu);
    return true;
}

void blendRow(const Surface& dst, const Surface& src, const Prepared& p, int y)
{
    const BlitCall& c = p.call;
    if (!p.scaled()) {
        const std::uint32_t* s = src.row(c.sy + (y - c.dy)) + c.sx - c.dx;
        blendRun(s + p.x0, dst.row(y) + p.x0, p.x1 - p.x0, p.alpha);
        return;
    }
    // Nearest source sample for each destination pixel.
    const std::uint32_t* s = src.row(c.sy + static_cast<int>((y - c.dy) * static_cast<long long>(c.sh) / c.dh));
    std::uint32_t* d = dst.row(y);
    for (int x = p.x0; x < p.x1; ++x) {
        const std::uint32_t* px = s + c.sx + static_cast<int>((x - c.dx) * static_cast<long long>(c.sw) / c.dw);
        blendRun(px, d + x, 1, p.alpha);
    }
}

void blendCall(const Surface& dst, const Surface& src, const Prepared& p)
{
    for (int y = p.y0; y < p.y1; ++y)
        blendRow(dst, src, p, y);
}

// Calls that read the pixels they write and share one band of rows (the columns of a
// horizontal ramp) are done whole rows at a time: layer j holds, for every column, the
// opacity of the j-th call that covers it, so each column keeps its order of blends and
// columns are independent. Opacity 0 leaves a pixel as it is.
bool blendInLayers(const Surface& dst, const Surface& src, const std::vector<Prepared>& calls)
{
    if (calls.empty())
        return true;
    const int y0 = calls.front().y0, y1 = calls.front().y1;
    for (const Prepared& p : calls)
        if (!p.inPlace() || p.y0 != y0 || p.y1 != y1)
            return false;

    const std::size_t width = static_cast<std::size_t>(dst.width);
    std::vector<std::size_t> depth(width, 0);
    std::vector<std::vector<std::uint8_t>> layers;
    for (const Prepared& p : calls) {
        for (int x = p.x0; x < p.x1; ++x) {
            std::size_t& layer = depth[static_cast<std::size_t>(x)];
            if (layer == layers.size())
                layers.emplace_back(width * 4, std::uint8_t{0});
            std::fill_n(layers[layer].begin() + x * 4, 4, p.alpha);
            ++layer;
        }
    }
    for (int y = y0; y < y1; ++y)
        for (const std::vector<std::uint8_t>& alphas : layers)
            blendRun(src.row(y), dst.row(y), dst.width, alphas.data());
    return true;
}

} // namespace

bool ConstantAlphaBlitter::AlphaBlend(const Surface& dst, int dx, int dy, int dw, int dh,
                                      const Surface& src, int sx, int sy, int sw, int sh,
                                      std::uint32_t blendValue)
{
    Prepared p;
    if (!prepare(dst, src, {dx, dy, dw, dh, sx, sy, sw, sh, blendValue}, p))
        return false;
    blendCall(dst, src, p);
    return true;
}

void ConstantAlphaBlitter::AlphaBlendAll(const Surface& dst, const Surface& src,
                                         const std::vector<BlitCall>& calls)
{
    std::vector<Prepared> prepared;
    prepared.reserve(calls.size());
    for (const BlitCall& c : calls) {
        Prepared p;
        if (prepare(dst, src, c, p) && p.x0 < p.x1 && p.y0 < p.y1)
            prepared.push_back(p);
    }
    if (blendInLayers(dst, src, prepared))
        return;
    for (const Prepared& p : prepared)
        blendCall(dst, src, p);
}
