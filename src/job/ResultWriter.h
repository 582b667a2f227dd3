#pragma once

#include "core/Picture.h"

#include <QString>

// The writer of a result file follows the extension of the file's name, in any case: ".bmp"
// gives a Windows bitmap, ".jpg" a JPEG. A ".bmp" elsewhere in the path (a folder named
// "Photos.bmp") does not count.
enum class ResultFormat { Invalid, Bmp, Jpeg };
ResultFormat ResultFormatOf(const QString& path);

// The quality of every JPEG result.
inline constexpr int ResultQuality = 100;

// Writes a blended result with the writer its name calls for; an earlier file of that name is
// replaced only by a complete new one. Throws Failure: the writer's own, or "Invalid output
// file format" for a name with neither extension.
void WriteResult(const Picture& image, const QString& path);
