#pragma once

#include "core/Picture.h"
#include "core/StopFlag.h"

#include <QString>

// The largest side a WebP file can describe.
inline constexpr int MaxWebPSide = 16383;

// Writes the picture as a WebP file: lossy at a quality from 1 to 99, lossless at 100. A file of
// that name is replaced only once the new one is complete. Throws Failure naming the file and
// the cause. A set stop flag ends the encoding at the encoder's next report of its progress by
// throwing Stopped, and nothing is written.
void SaveWebP(const Picture& picture, const QString& path, int quality, const StopFlag* stop = nullptr);
