#pragma once

// How a picture is brought to the size of a blend: stretched to it whatever its proportions, as
// the window does, or scaled with its proportions kept until it covers the size, centred, the
// overflow cut off.
enum class PictureFit { Stretch, Cover };

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct PixelSize {
    int width = 0, height = 0;
};

// How a picture fills a target by a fit: the size the whole picture is resampled to, and the
// part of that which is the target. A stretch resamples to the target itself; a cover scales
// the picture with its proportions kept until it just covers the target, larger or smaller,
// and shows the centred part.
struct FittedScale {
    PixelSize scaled;
    PixelRect shown; // within `scaled`, of the target's size
};
FittedScale FittedScaleOf(int width, int height, int targetWidth, int targetHeight, PictureFit fit);

// The longest side a cover scales a picture to: far beyond what any resampler's memory allows.
inline constexpr int MostScaledSide = 1 << 30;
