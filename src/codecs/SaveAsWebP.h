#pragma once

#include "codecs/PictureRowWriter.h"
#include "core/Picture.h"
#include "core/StopFlag.h"

#include <QSize>
#include <QString>

#include <memory>

// Starts a WebP file of the size: lossy at a quality from 1 to 99, lossless at 100. libwebp
// encodes a whole picture at once, so this writer gathers the rows, 4 bytes a pixel of the
// size, from its start until it is destroyed, and encodes them in finish(), where the encoder
// needs its own memory beside them (some bytes a pixel more; lossless several times the
// picture). The caller counts that memory. The encoded bytes go straight to the file. A set
// stop flag ends the encoding at the encoder's next report of its progress by throwing Stopped
// from finish(), and nothing is written. Its failures name the file and the cause.
std::unique_ptr<PictureRowWriter> StartWebPFile(const QString& path, QSize size, int quality, const StopFlag* stop = nullptr);

// Writes the picture as such a WebP file, encoded where its pixels are, replacing a file of that
// name only once the new one is complete. Throws Failure naming the file and the cause, or
// Stopped as the writer does.
void SaveWebP(const Picture& picture, const QString& path, int quality, const StopFlag* stop = nullptr);
