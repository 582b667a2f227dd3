#pragma once

#include "core/Picture.h"
#include "core/StopFlag.h"

#include <QSize>
#include <QString>

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

// Writes the picture in the format of the file's name, replacing an earlier file only by a
// complete new one. Throws Failure "Cannot write <output>: <cause>". A set stop flag ends the
// PNG and WebP encoders on the way by throwing Stopped, and nothing is written; the JPEG and
// BMP writers take it only before they start.
void WriteExport(const Picture& picture, const QString& path, int quality, const StopFlag* stop = nullptr);
