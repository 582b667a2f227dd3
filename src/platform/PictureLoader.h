#pragma once

#include "core/Picture.h"
#include "core/StopFlag.h"

#include <QString>

// Pictures from files.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // The picture in the file, upright, in 0xffRRGGBB pixels. Throws Failure naming the file
    // and the cause. Every implementation must be safe to call from several threads at once:
    // a job loads its two pictures at the same time.
    virtual Picture LoadPicture(const QString& path) = 0;
    // The same picture, unless `stop` is set meanwhile: then the load ends by throwing Stopped,
    // at the next decoded row where the loader decodes row by row. A loader that cannot stop
    // in the middle looks at the flag once its load is done.
    virtual Picture LoadPictureUnlessStopped(const QString& path, const StopFlag& stop)
    {
        Picture picture = LoadPicture(path);
        ThrowIfStopped(&stop);
        return picture;
    }
};

// The loads of another loader, each ending by throwing Stopped once `stop` is set: for work
// that hands a loader on and may be cancelled.
class StoppingLoader : public PictureLoader {
public:
    StoppingLoader(PictureLoader& loader, const StopFlag& stop) : loader_(loader), stop_(stop) {}
    Picture LoadPicture(const QString& path) override { return loader_.LoadPictureUnlessStopped(path, stop_); }

private:
    PictureLoader& loader_;
    const StopFlag& stop_;
};
