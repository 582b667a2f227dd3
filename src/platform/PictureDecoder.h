#pragma once

#include "engine/Picture.h"

#include <QString>

// Decodes a picture file into 0xffRRGGBB pixels, upright as the camera meant it, with
// transparent pixels flattened onto white. Throws Failure naming the file and the cause.
Picture DecodePictureFile(const QString& path);
