#include "codecs/ExifOrientation.h"

#include <cstring>

namespace {

// The bytes a value of each TIFF field type takes, for the integer types; 0 for the others
// (text, fractions, floating point).
int integerBytes(std::uint32_t type)
{
    switch (type) {
    case 1:  // BYTE
    case 6:  // SBYTE
    case 7:  // UNDEFINED, a byte
        return 1;
    case 3:  // SHORT
    case 8:  // SSHORT
        return 2;
    case 4:  // LONG
    case 9:  // SLONG
        return 4;
    default:
        return 0;
    }
}

bool isSigned(std::uint32_t type)
{
    return type == 6 || type == 8 || type == 9;
}

} // namespace

int ExifOrientation(const std::vector<std::uint8_t>& payload)
{
    constexpr std::size_t Tiff = 6; // after "Exif\0\0"
    constexpr std::uint32_t OrientationTag = 0x0112;
    if (payload.size() < Tiff + 8 || std::memcmp(payload.data(), "Exif\0\0", 6) != 0)
        return 1;
    const std::uint8_t* tiff = payload.data() + Tiff;
    const std::uint64_t size = payload.size() - Tiff;
    const bool bigEndian = tiff[0] == 'M' && tiff[1] == 'M';
    if (!bigEndian && !(tiff[0] == 'I' && tiff[1] == 'I'))
        return 1;
    // The number of `bytes` bytes at `at`, which the caller has checked lie inside.
    const auto read = [&](std::uint64_t at, int bytes) -> std::uint32_t {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint32_t(tiff[at + std::uint64_t(bigEndian ? bytes - 1 - i : i)]) << (8 * i);
        return value;
    };
    const std::uint64_t directory = read(4, 4);
    if (directory + 2 > size)
        return 1;
    const std::uint64_t entries = read(directory, 2);
    for (std::uint64_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + i * 12;
        if (entry + 12 > size)
            return 1;
        if (read(entry, 2) != OrientationTag)
            continue;
        const std::uint32_t type = read(entry + 2, 2);
        const std::uint64_t count = read(entry + 4, 4);
        const int bytes = integerBytes(type);
        if (bytes == 0 || count == 0)
            return 1;
        // The first value: in the entry when all of them fit in its four bytes, else where the
        // entry points.
        std::uint64_t at = entry + 8;
        if (count * std::uint64_t(bytes) > 4)
            at = read(entry + 8, 4);
        if (at + std::uint64_t(bytes) > size)
            return 1;
        const std::uint32_t raw = read(at, bytes);
        const bool negative = isSigned(type) && (raw >> (8 * bytes - 1)) != 0;
        return !negative && raw >= 1 && raw <= 8 ? static_cast<int>(raw) : 1;
    }
    return 1;
}
