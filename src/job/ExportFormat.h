#pragma once

#include "codecs/PictureRowWriter.h"
#include "core/Picture.h"
#include "core/StopFlag.h"

#include <QSize>
#include <QString>

#include <memory>

// The formats an export is written in, told by the extension of the file's name in any case.
enum class ExportFormat { Invalid, Jpeg, Png, WebP, Bmp };
ExportFormat ExportFormatOf(const QString& path);

// The extensions, for a refusal and a file dialog's filter: ".jpg, .jpeg, .png, .webp or .bmp".
QString ExportExtensionsText();

// Why the format cannot hold a picture of that size, or empty text when it can.
QString ExportSizeRefusal(ExportFormat format, QSize size);

// The quality an export is written at unless another is asked for; JPEG and WebP take 1 to 100,
// and WebP at 100 is lossless.
inline constexpr int DefaultExportQuality = 100;

// Starts the file of an export of the size in the format of the file's name, written a row at a
// time; an earlier file is replaced only by the complete new one. Each writer's header says
// what it holds: a few rows for JPEG and PNG, a buffer of rows for BMP, the whole picture for
// WebP. The writer and its steps throw Failure "Cannot write <output>: <cause>"; a set stop
// flag ends the WebP encoder in finish() by throwing Stopped, and nothing is written.
std::unique_ptr<PictureRowWriter> StartExportFile(const QString& path, QSize size, int quality,
                                                  const StopFlag* stop = nullptr);

// Writes the picture through StartExportFile. A set stop flag ends the writing before the next
// row, or while WebP encodes, by throwing Stopped, and nothing is written.
void WriteExport(const Picture& picture, const QString& path, int quality, const StopFlag* stop = nullptr);
