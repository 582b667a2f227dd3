#include "engine/Blit.h"

#include "engine/BlendKernels.h"

#include <algorithm>
#include <cstddef>

namespace {

// Blends a run of pixels, byte by byte, with one opacity.
void blendRun(const BlendKernels& kernels, const std::uint32_t* src, std::uint32_t* dst, int count, std::uint8_t a)
{
    if (a == 255) {
        std::copy_n(src, count, dst);
        return;
    }
    kernels.withOpacity(reinterpret_cast<const std::uint8_t*>(src), reinterpret_cast<std::uint8_t*>(dst), static_cast<std::size_t>(count) * 4, a);
}

// Blends a run of pixels with an opacity per byte.
void blendRun(const BlendKernels& kernels, const std::uint32_t* src, std::uint32_t* dst, int count, const std::uint8_t* alphas)
{
    kernels.withOpacities(reinterpret_cast<const std::uint8_t*>(src), reinterpret_cast<std::uint8_t*>(dst), static_cast<std::size_t>(count) * 4, alphas);
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

// `samples`: room for a row of the clipped destination, for a scaled call's source samples.
void blendRow(const BlendKernels& kernels, const Surface& dst, const Surface& src, const Prepared& p, int y,
              std::vector<std::uint32_t>& samples)
{
    const BlitCall& c = p.call;
    if (!p.scaled()) {
        const std::uint32_t* s = src.row(c.sy + (y - c.dy)) + c.sx - c.dx;
        blendRun(kernels, s + p.x0, dst.row(y) + p.x0, p.x1 - p.x0, p.alpha);
        return;
    }
    // Nearest source sample for each destination pixel.
    const std::uint32_t* s = src.row(c.sy + static_cast<int>((y - c.dy) * static_cast<long long>(c.sh) / c.dh));
    for (int x = p.x0; x < p.x1; ++x)
        samples[static_cast<std::size_t>(x - p.x0)] = s[c.sx + static_cast<int>((x - c.dx) * static_cast<long long>(c.sw) / c.dw)];
    blendRun(kernels, samples.data(), dst.row(y) + p.x0, p.x1 - p.x0, p.alpha);
}

void blendCall(const BlendKernels& kernels, const Surface& dst, const Surface& src, const Prepared& p)
{
    std::vector<std::uint32_t> samples(p.scaled() ? static_cast<std::size_t>(std::max(p.x1 - p.x0, 0)) : 0);
    for (int y = p.y0; y < p.y1; ++y)
        blendRow(kernels, dst, src, p, y, samples);
}

// Calls that read the pixels they write and share one band of rows (the columns of a
// horizontal ramp) are done whole rows at a time: layer j holds, for every column, the
// opacity of the j-th call that covers it, so each column keeps its order of blends and
// columns are independent. Opacity 0 leaves a pixel as it is.
bool blendInLayers(const BlendKernels& kernels, const Surface& dst, const Surface& src, const std::vector<Prepared>& calls)
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
            blendRun(kernels, src.row(y), dst.row(y), dst.width, alphas.data());
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
    blendCall(BestBlendKernels(), dst, src, p);
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
    const BlendKernels kernels = BestBlendKernels();
    if (blendInLayers(kernels, dst, src, prepared))
        return;
    for (const Prepared& p : prepared)
        blendCall(kernels, dst, src, p);
}
