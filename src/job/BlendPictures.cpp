#include "job/BlendPictures.h"

#include "core/Parallel.h"
#include "platform/PictureLoader.h"

namespace {

PictureLoad load(PictureLoader& loader, const QString& path)
{
    try {
        return {loader.LoadPicture(path), nullptr};
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

BlendPictures LoadBlendPictures(PictureLoader& loader, const QString& basePath, const QString& overlayPath)
{
    BlendPictures pictures;
    RunBoth([&] { pictures.base = load(loader, basePath); }, [&] { pictures.overlay = load(loader, overlayPath); });
    return pictures;
}
