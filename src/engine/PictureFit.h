#pragma once

#include "core/Picture.h"

#include <cstdint>

// How a picture is brought to the size of a blend: stretched to it whatever its proportions, as
// the window does, or scaled with its proportions kept until it covers the size, centred, the
// overflow cut off.
enum class PictureFit { Stretch, Cover };

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The part of a picture of width x height that a cover fit of targetWidth x targetHeight
// shows: the largest centred rectangle of the target's proportions.
PixelRect CoverCrop(int width, int height, int targetWidth, int targetHeight);

struct PixelSize {
    int width = 0, height = 0;
};

// The size, with proportions kept, that a picture of width x height is reduced to for covering
// the target: the picture's own size when it is no larger.
PixelSize CoverSize(std::int64_t width, std::int64_t height, std::int64_t targetWidth, std::int64_t targetHeight);

// The picture at exactly targetWidth x targetHeight by the fit. A picture that already has the
// size, or whose cover crop has it, is returned as it is or as a view into its own pixels.
Picture FitToSize(const Picture& picture, int targetWidth, int targetHeight, PictureFit fit);
