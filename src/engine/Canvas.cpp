#include "engine/Canvas.h"

#include "engine/Resample.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t PixelCount = static_cast<std::size_t>(Canvas::Width) * Canvas::Height;

Surface surfaceOf(std::vector<std::uint32_t>& pixels)
{
    return {pixels.data(), Canvas::Width, Canvas::Height, Canvas::Width};
}

} // namespace

Canvas::Canvas(std::uint32_t backColor)
    : backColor_(0xff000000u | backColor),
      image_(std::make_shared<std::vector<std::uint32_t>>(PixelCount, backColor_))
{
}

void Canvas::setPicture(Picture picture)
{
    picture_ = std::move(picture);
    Cls();
}

Picture Canvas::Image() const
{
    return Picture::fromPixels(image_, Width, Height);
}

std::vector<std::uint32_t>& Canvas::writableImage()
{
    // Pictures taken of the image keep their pixels: drawing goes to a fresh buffer.
    if (image_.use_count() > 1)
        image_ = std::make_shared<std::vector<std::uint32_t>>(*image_);
    return *image_;
}

void Canvas::Cls()
{
    if (picture_.pixels == image_->data())
        return; // the background is the image as it stands
    if (image_.use_count() > 1)
        image_ = std::make_shared<std::vector<std::uint32_t>>(PixelCount);
    std::vector<std::uint32_t>& image = *image_;
    const int w = picture_.isNull() ? 0 : std::min(picture_.width, Width);
    const int h = picture_.isNull() ? 0 : std::min(picture_.height, Height);
    for (int y = 0; y < Height; ++y) {
        std::uint32_t* row = image.data() + static_cast<std::size_t>(y) * Width;
        if (y < h)
            std::memcpy(row, picture_.row(y), static_cast<std::size_t>(w) * sizeof(std::uint32_t));
        std::fill(row + (y < h ? w : 0), row + Width, backColor_);
    }
}

void Canvas::PaintPicture(const Picture& picture, int x, int y, int width, int height)
{
    if (picture.isNull() || width <= 0 || height <= 0)
        return;
    const bool wholeCanvas = x == 0 && y == 0 && width == Width && height == Height;
    if (wholeCanvas && !lastStretch_.isNull() && picture.sharesPixelsWith(lastStretchSource_)) {
        image_ = std::const_pointer_cast<std::vector<std::uint32_t>>(
            std::static_pointer_cast<const std::vector<std::uint32_t>>(lastStretch_.owner));
        return;
    }

    auto stretched = std::make_shared<std::vector<std::uint32_t>>(
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    StretchPicture(picture, {stretched->data(), width, height, width});
    if (wholeCanvas) {
        lastStretchSource_ = picture;
        lastStretch_ = Picture::fromPixels(stretched, Width, Height);
        image_ = std::move(stretched);
        return;
    }

    std::vector<std::uint32_t>& image = writableImage();
    const int x0 = std::max(x, 0), x1 = std::min(x + width, Width);
    const int y0 = std::max(y, 0), y1 = std::min(y + height, Height);
    for (int row = y0; row < y1; ++row)
        for (int col = x0; col < x1; ++col)
            image[static_cast<std::size_t>(row) * Width + col] =
                (*stretched)[static_cast<std::size_t>(row - y) * width + (col - x)];
}

Surface Canvas::hDC()
{
    return surfaceOf(writableImage());
}
