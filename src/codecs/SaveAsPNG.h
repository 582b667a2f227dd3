#pragma once

#include "core/Picture.h"

#include <QString>

// Writes the picture as an 8-bit RGB PNG file, replacing a file of that name only once the new
// one is complete. Throws Failure naming the file and the cause.
void SavePNG(const Picture& picture, const QString& path);
