#pragma once

#include <cstdint>
#include <vector>

// The orientation (1 to 8) in the payload of a JPEG's EXIF segment ("Exif\0\0" and a TIFF
// structure); 1, as stored, when there is none or the payload is damaged.
int ExifOrientation(const std::vector<std::uint8_t>& payload);
