#pragma once

#include "core/Picture.h"

#include <QString>

// Writes the picture as a Windows bitmap file, replacing a file of that name only once the new
// one is complete. Throws Failure naming the file and the cause.
void SavePicture(const Picture& picture, const QString& path);
