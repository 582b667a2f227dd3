#pragma once

#include "core/Picture.h"

#include <QString>

#include <exception>

class PictureLoader;

// One picture of a job as it came from its file: the picture, or why it could not be loaded.
struct PictureLoad {
    Picture picture;
    std::exception_ptr failure;
};

// The picture, or the failure of its load thrown again.
Picture TakePicture(const PictureLoad& load);

struct BlendPictures {
    PictureLoad base;
    PictureLoad overlay;
};

// Loads the base and the overlay of a job at the same time, one on each of two threads, and
// returns both outcomes; the caller reports failures in the job's order.
BlendPictures LoadBlendPictures(PictureLoader& loader, const QString& basePath, const QString& overlayPath);
