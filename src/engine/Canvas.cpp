#include "engine/Canvas.h"

#include "engine/Resample.h"
#include "core/PixelMemory.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t PixelCount = static_cast<std::size_t>(Canvas::Width) * Canvas::Height;

} // namespace

// The image is made when the canvas is first read or drawn into: a window that never blends
// holds none.
Canvas::Canvas(std::uint32_t backColor) : backColor_(0xff000000u | backColor), clearPending_(true) {}

void Canvas::setPicture(Picture picture)
{
    picture_ = std::move(picture);
    Cls();
}

Picture Canvas::Image() const
{
    finishClear();
    Picture image;
    image.owner = image_;
    image.pixels = image_.get();
    image.width = Width;
    image.height = Height;
    image.stride = Width;
    return image;
}

void Canvas::Cls()
{
    // A background taken from the image as it stands needs no clearing.
    clearPending_ = !image_ || picture_.pixels != image_.get();
}

std::uint32_t* Canvas::imageToOverwrite() const
{
    // Pictures taken of the image keep their pixels: the canvas moves to a buffer of its own.
    if (!image_ || image_.use_count() > 1)
        image_ = NewPixels(PixelCount);
    return image_.get();
}

void Canvas::finishClear() const
{
    if (!clearPending_)
        return;
    clearPending_ = false;
    std::uint32_t* image = imageToOverwrite();
    const int w = picture_.isNull() ? 0 : std::min(picture_.width, Width);
    const int h = picture_.isNull() ? 0 : std::min(picture_.height, Height);
    for (int y = 0; y < Height; ++y) {
        std::uint32_t* row = image + static_cast<std::size_t>(y) * Width;
        if (y < h)
            std::memcpy(row, picture_.row(y), static_cast<std::size_t>(w) * sizeof(std::uint32_t));
        std::fill(row + (y < h ? w : 0), row + Width, backColor_);
    }
}

std::uint32_t* Canvas::writableImage()
{
    finishClear();
    if (image_.use_count() > 1) {
        const Pixels shared = image_;
        std::memcpy(imageToOverwrite(), shared.get(), PixelCount * sizeof(std::uint32_t));
    }
    return image_.get();
}

void Canvas::PaintPicture(const Picture& picture, int x, int y, int width, int height)
{
    if (picture.isNull() || width <= 0 || height <= 0)
        return;
    if (x == 0 && y == 0 && width == Width && height == Height) {
        // The paint covers everything, so a pending clear is moot.
        clearPending_ = false;
        StretchPicture(picture, {imageToOverwrite(), Width, Height, Width});
        return;
    }

    std::vector<std::uint32_t> stretched(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    StretchPicture(picture, {stretched.data(), width, height, width});
    std::uint32_t* image = writableImage();
    const int x0 = std::max(x, 0), x1 = std::min(x + width, Width);
    const int y0 = std::max(y, 0), y1 = std::min(y + height, Height);
    for (int row = y0; row < y1; ++row)
        for (int col = x0; col < x1; ++col)
            image[static_cast<std::size_t>(row) * Width + col] = stretched[static_cast<std::size_t>(row - y) * width + (col - x)];
}

Surface Canvas::hDC()
{
    return {writableImage(), Width, Height, Width};
}
