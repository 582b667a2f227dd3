#include "engine/PictureFit.h"

#include <algorithm>
#include <cstdint>

FittedScale FittedScaleOf(int width, int height, int targetWidth, int targetHeight, PictureFit fit)
{
    if (fit == PictureFit::Stretch)
        return {{targetWidth, targetHeight}, {0, 0, targetWidth, targetHeight}};
    // The side relatively shorter than the target's reaches it exactly; the other is rounded to
    // nearest and never falls short. Compared and scaled in 64 bits: a line of ten million
    // pixels covering a square is enlarged to billions of pixels along it, which is kept at
    // MostScaledSide, so the sizes stay ints and the resampler's memory refuses it.
    const std::int64_t w = width, h = height, tw = targetWidth, th = targetHeight;
    const auto longSide = [](std::int64_t wanted, std::int64_t target) {
        return static_cast<int>(std::clamp<std::int64_t>(wanted, target, std::max<std::int64_t>(target, MostScaledSide)));
    };
    PixelSize scaled{targetWidth, targetHeight};
    if (w * th >= h * tw)
        scaled.width = longSide((w * th + h / 2) / h, tw);
    else
        scaled.height = longSide((h * tw + w / 2) / w, th);
    return {scaled, {(scaled.width - targetWidth) / 2, (scaled.height - targetHeight) / 2, targetWidth, targetHeight}};
}
