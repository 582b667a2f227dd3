#pragma once

#include "core/Picture.h"
#include "core/StopFlag.h"

#include <QString>

// Writes the picture as an 8-bit RGB PNG file, replacing a file of that name only once the new
// one is complete. Throws Failure naming the file and the cause. A set stop flag ends the
// encoding at the next row by throwing Stopped, and nothing is written.
void SavePNG(const Picture& picture, const QString& path, const StopFlag* stop = nullptr);
