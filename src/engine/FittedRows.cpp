#include "engine/FittedRows.h"

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
