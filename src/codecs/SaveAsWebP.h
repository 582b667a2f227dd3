#pragma once

#include "core/Picture.h"

#include <QString>

// The largest side a WebP file can describe.
inline constexpr int MaxWebPSide = 16383;

// Writes the picture as a WebP file: lossy at a quality from 1 to 99, lossless at 100. A file of
// that name is replaced only once the new one is complete. Throws Failure naming the file and
// the cause.
void SaveWebP(const Picture& picture, const QString& path, int quality);
