#include "codecs/ExifOrientation.h"

#include <cstring>

int ExifOrientation(const std::vector<std::uint8_t>& payload)
{
    constexpr std::size_t Tiff = 6; // after "Exif\0\0"
    constexpr int OrientationTag = 0x0112;
    if (payload.size() < Tiff + 8 || std::memcmp(payload.data(), "Exif\0\0", 6) != 0)
        return 1;
    const std::uint8_t* tiff = payload.data() + Tiff;
    const std::size_t size = payload.size() - Tiff;
    const bool bigEndian = tiff[0] == 'M' && tiff[1] == 'M';
    if (!bigEndian && !(tiff[0] == 'I' && tiff[1] == 'I'))
        return 1;
    const auto read = [&](std::size_t at, int bytes) -> std::uint32_t {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint32_t(tiff[at + static_cast<std::size_t>(bigEndian ? bytes - 1 - i : i)]) << (8 * i);
        return value;
    };
    const std::size_t directory = read(4, 4);
    if (directory > size - 2)
        return 1;
    const std::size_t entries = read(directory, 2);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + i * 12;
        if (entry + 12 > size)
            return 1;
        if (read(entry, 2) == OrientationTag) {
            const std::uint32_t value = read(entry + 8, 2);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}
