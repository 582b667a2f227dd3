#pragma once

#include "engine/Blit.h"
#include "engine/PairComposition.h"

#include <QImage>
#include <QSize>

// The preview's own canvases. It composes the start button's result from pictures already
// stretched over the canvas: stretching them again to the same size leaves every pixel as it
// is, so the result is the one the start button writes, and the window's canvases are never
// touched.
class PreviewBlend {
public:
    // The result for this base and overlay, ramp direction and band start, composed into the
    // buffers of the last call.
    Picture compose(const Picture& base, const Picture& overlay, double direction, double bandStart);

private:
    Canvases canvases_;
    LoadedPair loaded_;
    ConstantAlphaBlitter blitter_;
};

// The picture scaled smoothly to the largest size that fits the area with its aspect kept.
QImage ScaledToFit(const Picture& picture, const QSize& area);
