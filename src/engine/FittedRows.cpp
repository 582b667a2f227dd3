#include "engine/FittedRows.h"

#include <algorithm>

FittedScale FittedScaleOf(int width, int height, int targetWidth, int targetHeight, PictureFit fit)
{
    if (fit == PictureFit::Stretch)
        return {{targetWidth, targetHeight}, {0, 0, targetWidth, targetHeight}};
    // The side relatively shorter than the target's reaches it exactly; the other is rounded to
    // nearest and never falls short. Compared and scaled in 64 bits.
    const std::int64_t w = width, h = height, tw = targetWidth, th = targetHeight;
    PixelSize scaled{targetWidth, targetHeight};
    if (w * th >= h * tw)
        scaled.width = static_cast<int>(std::max<std::int64_t>(tw, (w * th + h / 2) / h));
    else
        scaled.height = static_cast<int>(std::max<std::int64_t>(th, (h * tw + w / 2) / w));
    return {scaled, {(scaled.width - targetWidth) / 2, (scaled.height - targetHeight) / 2, targetWidth, targetHeight}};
}

RowResampler FittedResampler(int sourceWidth, int sourceHeight, const FittedScale& scale, ShownRows& shown)
{
    return RowResampler(sourceWidth, sourceHeight, scale.scaled.width, scale.scaled.height, scale.shown.y,
                        scale.shown.y + scale.shown.height, shown);
}

std::size_t FittedRowsBytes(int sourceWidth, int sourceHeight, const FittedScale& scale)
{
    return RowResampler::BytesNeeded(sourceWidth, sourceHeight, scale.scaled.width, scale.scaled.height)
           + static_cast<std::size_t>(scale.scaled.width) * sizeof(std::uint32_t);
}

void HandFittedRows(const Picture& picture, int targetWidth, int targetHeight, PictureFit fit, RowSink& sink,
                    const StopFlag* stop)
{
    const FittedScale scale = FittedScaleOf(picture.width, picture.height, targetWidth, targetHeight, fit);
    ShownRows shown(scale.shown, sink);
    RowResampler rows = FittedResampler(picture.width, picture.height, scale, shown);
    for (int y = 0; y < picture.height && !rows.finished(); ++y) {
        ThrowIfStopped(stop);
        rows.addRow(picture.row(y));
    }
}
