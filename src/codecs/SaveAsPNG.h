#pragma once

#include "codecs/PictureRowWriter.h"
#include "core/Picture.h"
#include "core/StopFlag.h"

#include <QSize>
#include <QString>

#include <memory>

// Starts an 8-bit RGB PNG file of the size. The encoder holds a row and its compression state
// (a few hundred KiB), and a buffer of the file's bytes, whatever the size. Its failures name
// the file and the cause.
std::unique_ptr<PictureRowWriter> StartPngFile(const QString& path, QSize size);

// Writes the picture as such a PNG file, replacing a file of that name only once the new one is
// complete. Throws Failure naming the file and the cause. A set stop flag ends the encoding at
// the next row by throwing Stopped, and nothing is written.
void SavePNG(const Picture& picture, const QString& path, const StopFlag* stop = nullptr);
