#include "app/PreviewBlend.h"

Picture PreviewBlend::compose(const Picture& base, const Picture& overlay, double direction, double bandStart)
{
    ComposePair(canvases_, loaded_, base, overlay, direction, bandStart, blitter_);
    return canvases_.picDest.Image();
}

QImage ScaledToFit(const Picture& picture, const QSize& area)
{
    if (picture.isNull() || area.isEmpty())
        return QImage();
    // A view of the picture's own pixels: only the scaled image is new.
    const QImage view(reinterpret_cast<const uchar*>(picture.pixels), picture.width, picture.height,
                      static_cast<qsizetype>(picture.stride * sizeof(std::uint32_t)), QImage::Format_RGB32);
    return view.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
