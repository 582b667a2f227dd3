#include "job/BlendPictures.h"

#include "platform/Platform.h"

#include <future>
#include <system_error>

namespace {

PictureLoad load(Platform& platform, const QString& path)
{
    try {
        return {platform.LoadPicture(path), nullptr};
    } catch (...) {
        return {Picture(), std::current_exception()};
    }
}

} // namespace

Picture TakePicture(const PictureLoad& load)
{
    if (load.failure)
        std::rethrow_exception(load.failure);
    return load.picture;
}

BlendPictures LoadBlendPictures(Platform& platform, const QString& basePath, const QString& overlayPath)
{
    std::future<PictureLoad> overlay;
    try {
        overlay = std::async(std::launch::async, load, std::ref(platform), overlayPath);
    } catch (const std::system_error&) {
        // No thread to be had: the pictures are loaded one after the other instead.
        PictureLoad base = load(platform, basePath);
        return {std::move(base), load(platform, overlayPath)};
    }
    PictureLoad base = load(platform, basePath);
    return {std::move(base), overlay.get()};
}
