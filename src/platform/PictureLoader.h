#pragma once

#include "core/Picture.h"

#include <QString>

// Pictures from files.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // The picture in the file, upright, in 0xffRRGGBB pixels. Throws Failure naming the file
    // and the cause. Every implementation must be safe to call from several threads at once:
    // a job loads its two pictures at the same time.
    virtual Picture LoadPicture(const QString& path) = 0;
};
