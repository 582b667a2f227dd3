#pragma once

#include "codecs/PictureRowWriter.h"
#include "core/Picture.h"

#include <QSize>
#include <QString>

#include <memory>

// The status numbers that follow "Cannot save the image. GDI+ Error:" when a JPEG save fails.
// 0 is success and never shown. The numbers keep the meanings of the GDI+ status values, so
// that a report reads as those always did.
namespace JpegStatus {
inline constexpr int GenericError = 1;     // the encoder could not be started or refused the picture
inline constexpr int InvalidParameter = 2; // an empty picture, a side over 65500, a quality outside 0..100, rows miscounted
inline constexpr int OutOfMemory = 3;      // no memory for the encoder
inline constexpr int Win32Error = 7;       // the file could not be written: a full disk, an I/O error
inline constexpr int FileNotFound = 10;    // the folder of the file does not exist
inline constexpr int AccessDenied = 12;    // the folder or the earlier file may not be written
} // namespace JpegStatus

// Starts a baseline JPEG file of the size at the quality (0 to 100) with full-resolution chroma
// (4:4:4) and the accurate DCT. The encoder holds eight rows of each colour component and a
// buffer of the file's bytes, whatever the height. Its failures are those of SaveJPG.
std::unique_ptr<PictureRowWriter> StartJpegFile(const QString& path, QSize size, int quality);

// Writes the picture as such a JPEG file, replacing a file of that name only once the new one is
// complete. Throws Failure number 5, "Cannot save the image. GDI+ Error:" and the status.
void SaveJPG(const Picture& picture, const QString& path, int quality);
