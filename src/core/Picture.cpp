#include "core/Picture.h"

Picture Picture::fromPixels(std::shared_ptr<std::vector<std::uint32_t>> buffer, int width,
                            int height)
{
    std::uint32_t* pixels = buffer->data();
    return fromPixels(std::shared_ptr<std::uint32_t[]>(std::move(buffer), pixels), width, height);
}

Picture Picture::fromPixels(std::shared_ptr<std::uint32_t[]> buffer, int width, int height)
{
    Picture picture;
    picture.pixels = buffer.get();
    picture.width = width;
    picture.height = height;
    picture.stride = width;
    picture.owner = std::move(buffer);
    return picture;
}
