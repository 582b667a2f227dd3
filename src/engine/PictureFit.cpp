#include "engine/PictureFit.h"

#include "core/PixelMemory.h"
#include "engine/Resample.h"

#include <algorithm>
#include <cstddef>

PixelRect CoverCrop(int width, int height, int targetWidth, int targetHeight)
{
    // Compared as products, in 64 bits: the crop keeps the full width when the picture is
    // relatively taller than the target.
    const std::int64_t w = width, h = height, tw = targetWidth, th = targetHeight;
    if (w * th <= h * tw) {
        const int cropHeight = static_cast<int>(std::clamp<std::int64_t>((w * th + tw / 2) / tw, 1, h));
        return {0, (height - cropHeight) / 2, width, cropHeight};
    }
    const int cropWidth = static_cast<int>(std::clamp<std::int64_t>((h * tw + th / 2) / th, 1, w));
    return {(width - cropWidth) / 2, 0, cropWidth, height};
}

PixelSize CoverSize(std::int64_t width, std::int64_t height, std::int64_t targetWidth, std::int64_t targetHeight)
{
    // The side that reaches the target first sets the scale; the other is rounded up, so that
    // it still covers.
    std::int64_t w = width, h = height;
    if (width * targetHeight >= height * targetWidth) {
        if (height > targetHeight) {
            h = targetHeight;
            w = (width * targetHeight + height - 1) / height;
        }
    } else if (width > targetWidth) {
        w = targetWidth;
        h = (height * targetWidth + width - 1) / width;
    }
    return {static_cast<int>(std::min(w, width)), static_cast<int>(std::min(h, height))};
}

Picture FitToSize(const Picture& picture, int targetWidth, int targetHeight, PictureFit fit)
{
    Picture view = picture;
    if (fit == PictureFit::Cover) {
        const PixelRect crop = CoverCrop(picture.width, picture.height, targetWidth, targetHeight);
        view.pixels = picture.row(crop.y) + crop.x;
        view.width = crop.width;
        view.height = crop.height;
    }
    if (view.width == targetWidth && view.height == targetHeight)
        return view;
    auto pixels = NewPixels(static_cast<std::size_t>(targetWidth) * static_cast<std::size_t>(targetHeight));
    StretchPicture(view, {pixels.get(), targetWidth, targetHeight, targetWidth});
    return Picture::fromPixels(pixels, targetWidth, targetHeight);
}
