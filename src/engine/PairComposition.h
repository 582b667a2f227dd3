#pragma once

#include "engine/Canvas.h"
#include "engine/Blit.h"

#include <optional>

// The three work canvases of the main window.
struct Canvases {
    Canvas pic1{0xc00000};    // base picture
    Canvas pic2{0x0000c0};    // overlay picture; the ramp reads from it
    Canvas picDest{0xffffff}; // result
};

// The pictures loaded for pic1 and pic2. Once they are stretched over the canvases, the
// stretched ones take their place: the decoded pictures are let go with the job.
struct LoadedPair {
    Picture origPic1;
    Picture origPic2;
};

// The band always ends at the canvas width, for both directions.
inline constexpr double BandEnd = 729;

// Which field gives the base and which the overlay, and the ramp direction.
struct BlendChoice {
    int baseField;    // 1: Text1, 2: Text2
    int overlayField; // the other one
    double direction; // 0 horizontal, 1 vertical
};

// The first selected of the four blend options (left, right, top, bottom), if any.
std::optional<BlendChoice> ChooseBlend(bool left, bool right, bool top, bool bottom);

// Stretches the picture over the whole canvas and makes that the canvas's background.
void FitPicture(Canvas& canvas, const Picture& picture);

// Clears picDest to its background and runs the ramp of pic2, as fitted, over picDest from
// bandStart to the band end.
void ComposeBlend(Canvases& canvases, double direction, double bandStart, Blitter& blitter);

// Puts a freshly loaded base and overlay into the canvases and composes them: the base,
// stretched, becomes picDest's background, and the overlay fades in over it.
void ComposePair(Canvases& canvases, LoadedPair& loaded, Picture base, Picture overlay,
                 double direction, double bandStart, Blitter& blitter);

// The window's result for a pair, composed on canvases of its own as the start button does.
Picture ComposeWindowBlend(Picture base, Picture overlay, double direction, double bandStart);
