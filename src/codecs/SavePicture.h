#pragma once

#include "codecs/PictureRowWriter.h"
#include "core/Picture.h"

#include <QSize>
#include <QString>

#include <memory>

// Starts a Windows bitmap file of the size: 24 bits a pixel, stored from the bottom row up, each
// row padded to four bytes, the BMP that every reader takes. Each row goes to its place in the
// file as it comes; the writer holds a buffer of rows of 256 KiB, or one row where a row is
// longer. A picture whose file would pass the 4 GiB that its header can give is refused. Its
// failures name the file and the cause.
std::unique_ptr<PictureRowWriter> StartBmpFile(const QString& path, QSize size);

// Writes the picture as such a bitmap file, replacing a file of that name only once the new one
// is complete. Throws Failure naming the file and the cause.
void SavePicture(const Picture& picture, const QString& path);
