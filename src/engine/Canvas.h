#pragma once

#include "core/Picture.h"

#include <cstdint>
#include <memory>

// A hidden drawing canvas of fixed size. It has a background picture, which a clear
// restores, and an image: the background plus everything drawn since the last clear.
// Whatever is drawn, through its methods or through its surface, stays in the image.
class Canvas {
public:
    static constexpr int Width = 729;
    static constexpr int Height = 425;

    explicit Canvas(std::uint32_t backColor);

    int ScaleWidth() const { return Width; }
    int ScaleHeight() const { return Height; }

    // The background picture; setting it clears the image to it.
    const Picture& picture() const { return picture_; }
    void setPicture(Picture picture);

    // The image as a picture. It shares the canvas's pixels until the canvas draws again.
    Picture Image() const;

    // Clears the image to the background: the back colour with the picture at the top left.
    // The clear is carried out when the image is next read or drawn into, so a clear that a
    // whole-canvas paint follows costs nothing.
    void Cls();

    // Paints the whole picture stretched into the rectangle (source copy).
    void PaintPicture(const Picture& picture, int x, int y, int width, int height);

    // The drawing surface of the image, for the blit.
    Surface hDC();

private:
    using Pixels = std::shared_ptr<std::uint32_t[]>;
    // The image's pixels, to be written over whole: the canvas's own buffer when nothing else
    // holds it, so a canvas that lives from job to job keeps one buffer.
    std::uint32_t* imageToOverwrite() const;
    std::uint32_t* writableImage();
    void finishClear() const;

    std::uint32_t backColor_;
    Picture picture_;
    mutable Pixels image_;
    mutable bool clearPending_;
};
