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
    canvas.PaintPicture(picture, 0, 0, canvas.ScaleWidth(), canvas.ScaleHeight());
    canvas.setPicture(canvas.Image());
}

void ComposeBlend(Canvases& canvases, const LoadedPair& loaded, double direction,
                  double bandStart, Blitter& blitter)
{
    canvases.picDest.Cls();
    canvases.pic1.setPicture(loaded.origPic1);
    FitPicture(canvases.pic1, loaded.origPic1);
    FitPicture(canvases.pic2, loaded.origPic2);

    Canvas& dest = canvases.picDest;
    const Surface destSurface = dest.hDC();
    const Surface overlaySurface = canvases.pic2.Image().surface();
    AlphaRamp(blitter, destSurface, dest.ScaleWidth(), dest.ScaleHeight(), overlaySurface,
              canvases.pic2.ScaleWidth(), canvases.pic2.ScaleHeight(), bandStart, BandEnd,
              direction);
}

void ComposePair(Canvases& canvases, LoadedPair& loaded, Picture base, Picture overlay,
                 double direction, double bandStart, Blitter& blitter)
{
    canvases.pic1.setPicture(std::move(base));
    canvases.pic2.setPicture(std::move(overlay));
    loaded.origPic1 = canvases.pic1.picture();
    loaded.origPic2 = canvases.pic2.picture();
    FitPicture(canvases.pic1, canvases.pic1.picture());
    FitPicture(canvases.pic2, canvases.pic2.picture());
    FitPicture(canvases.picDest, canvases.pic1.picture());
    canvases.pic1.setPicture(loaded.origPic1);
    canvases.pic2.setPicture(loaded.origPic2);
    FitPicture(canvases.pic1, canvases.pic1.picture());
    FitPicture(canvases.pic2, canvases.pic2.picture());
    ComposeBlend(canvases, loaded, direction, bandStart, blitter);
}
