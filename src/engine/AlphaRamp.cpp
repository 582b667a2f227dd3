#include "engine/AlphaRamp.h"

#include "engine/Rounding.h"

std::uint32_t MakeBlendFunction(Opacity& opacity)
{
    const double value = std::visit([](auto v) { return static_cast<double>(v); }, opacity);
    if (value > 255)
        opacity = 255;
    const std::uint8_t alpha = RoundToByte(value > 255 ? 255.0 : value);
    return static_cast<std::uint32_t>(alpha) * 65536u;
}

namespace {

const auto R = RoundToInt32;

} // namespace

void AlphaRamp(Blitter& blitter, const Surface& dst, double dstWidth, double dstHeight,
               const Surface& src, double srcWidth, double srcHeight,
               double bandStart, double bandEnd, double direction)
{
    const double W = dstWidth, H = dstHeight, SW = srcWidth, SH = srcHeight, E = bandEnd;
    const double r = bandEnd - bandStart;
    const double step = r > 0 ? 256 / r : 0;
    if (!(step > 0))
        return;
    const bool horizontal = direction == 0;
    if (!horizontal && direction != 1)
        return;

    // The strips are computed first and blitted together; a failure part-way still
    // draws the strips computed before it.
    std::vector<BlitCall> calls;
    try {
        // The counter advances by repeated addition: the strip count depends on its rounding.
        for (double i = 1; i <= 256; i += step) {
            Opacity opacity = i - 1;
            const std::uint32_t blend = MakeBlendFunction(opacity);
            const std::int32_t p = R(r / 256 * i + bandStart);
            if (horizontal)
                calls.push_back({p, 0, R(W / 256), R(H), p, 0, R(W / 256), R(SH), blend});
            else
                calls.push_back({0, p, R(W), R(H / 256 + 1), 0, p, R(SW), R(SH / 256 + 1), blend});
        }
        Opacity full = 255;
        const std::uint32_t blend = MakeBlendFunction(full);
        if (horizontal)
            calls.push_back({R(E), 0, R(W - E), R(H), R(E), 0, R(SW - E), R(H), blend});
        else
            calls.push_back({0, R(E), R(W), R(H - E), 0, R(E), R(SW), R(H - E), blend});
    } catch (...) {
        blitter.AlphaBlendAll(dst, src, calls);
        throw;
    }
    blitter.AlphaBlendAll(dst, src, calls);
}
