#pragma once

#include "core/Picture.h"

#include <QString>

// The status numbers that follow "Cannot save the image. GDI+ Error:" when a JPEG save fails.
// 0 is success and never shown. The numbers keep the meanings of the GDI+ status values, so
// that a report reads as those always did.
namespace JpegStatus {
inline constexpr int GenericError = 1;     // the encoder could not be started or refused the picture
inline constexpr int InvalidParameter = 2; // an empty picture, a side over 65500 or a quality outside 0..100
inline constexpr int OutOfMemory = 3;      // no memory for the encoded picture
inline constexpr int Win32Error = 7;       // the file could not be written: a full disk, an I/O error
inline constexpr int FileNotFound = 10;    // the folder of the file does not exist
inline constexpr int AccessDenied = 12;    // the folder or the earlier file may not be written
} // namespace JpegStatus

// The largest side a JPEG file can describe.
inline constexpr int MaxJpegSide = 65500;

// Writes the picture as a baseline JPEG file at the quality (0 to 100) with full-resolution
// chroma (4:4:4), replacing a file of that name only once the new one is complete. Throws
// Failure number 5, "Cannot save the image. GDI+ Error:" and the status.
void SaveJPG(const Picture& picture, const QString& path, int quality);
