#pragma once

#include <cstdint>
#include <vector>

// The orientation (1 to 8) in the payload of a JPEG's EXIF segment ("Exif\0\0" and a TIFF
// structure, in either byte order); 1, as stored, when there is none or the payload is damaged.
// The value is read as its entry's type says: a SHORT as the standard has it, or any other
// integer type a writer chose (BYTE, LONG and the signed ones).
int ExifOrientation(const std::vector<std::uint8_t>& payload);
