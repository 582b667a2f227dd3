#include "engine/PairComposition.h"

#include "engine/AlphaRamp.h"

std::optional<BlendChoice> ChooseBlend(bool left, bool right, bool top, bool bottom)
{
    if (left)
        return BlendChoice{1, 2, 0};
    if (right)
        return BlendChoice{2, 1, 0};
    if (top)
        return BlendChoice{1, 2, 1};
    if (bottom)
        return BlendChoice{2, 1, 1};
    return std::nullopt;
}

void FitPicture(Canvas& canvas, const Picture& picture)
{
    // The argument may be the canvas's own background, which goes below.
    const Picture source = picture;
    // The old background goes before the paint, which covers it whole: the canvas then paints
    // over the buffer it has instead of a new one.
    if (!source.isNull())
        canvas.setPicture(Picture());
    canvas.PaintPicture(source, 0, 0, canvas.ScaleWidth(), canvas.ScaleHeight());
    canvas.setPicture(canvas.Image());
}

void ComposeBlend(Canvases& canvases, double direction, double bandStart, Blitter& blitter)
{
    Canvas& dest = canvases.picDest;
    dest.Cls();
    const Surface destSurface = dest.hDC();
    const Surface overlaySurface = canvases.pic2.Image().surface();
    AlphaRamp(blitter, destSurface, dest.ScaleWidth(), dest.ScaleHeight(), overlaySurface,
              canvases.pic2.ScaleWidth(), canvases.pic2.ScaleHeight(), bandStart, BandEnd,
              direction);
}

// Fitting the canvases once more from the loaded pictures would give the same pixels again:
// each picture is stretched once, the base straight into pic1, whose image then serves as
// picDest's background, and the result is that background with the ramp blended into it.
void ComposePair(Canvases& canvases, LoadedPair& loaded, Picture base, Picture overlay,
                 double direction, double bandStart, Blitter& blitter)
{
    // The last job's pictures are let go first, so each canvas paints over the buffer it has.
    loaded = LoadedPair();
    canvases.picDest.setPicture(Picture());
    canvases.pic1.setPicture(std::move(base));
    canvases.pic2.setPicture(std::move(overlay));
    FitPicture(canvases.pic1, canvases.pic1.picture());
    FitPicture(canvases.pic2, canvases.pic2.picture());
    canvases.picDest.setPicture(canvases.pic1.picture());
    loaded = {canvases.pic1.picture(), canvases.pic2.picture()};
    ComposeBlend(canvases, direction, bandStart, blitter);
}

Picture ComposeWindowBlend(Picture base, Picture overlay, double direction, double bandStart)
{
    Canvases canvases;
    LoadedPair loaded;
    ConstantAlphaBlitter blitter;
    ComposePair(canvases, loaded, std::move(base), std::move(overlay), direction, bandStart, blitter);
    return canvases.picDest.Image();
}
