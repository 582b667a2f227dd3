#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>

// What a BMP's headers say: the size, the bits a pixel, the compression, the colour masks, the
// palette and where the pixel data starts. Windows (40 to 124 bytes) and OS/2 (12 and 64
// bytes) headers are read.
struct BmpHeader {
    QSize size;             // invalid when the headers are too short to tell
    bool topDown = false;   // rows stored from the top; most BMPs store them from the bottom
    std::int64_t headerBytes = 0; // the info header's own size
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::int64_t dataOffset = 0;
    // Red, green, blue and alpha masks of 16- and 32-bit pixels; alpha only when the file
    // gives one.
    std::array<std::uint32_t, 4> masks{};
    QList<std::uint32_t> palette; // 0xffRRGGBB, for pictures of 1 to 8 bits a pixel
};

namespace BmpCompression {
inline constexpr std::uint32_t Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6;
}

// The cause told for pixel data that ends before the picture does.
inline constexpr char BmpTruncatedCause[] = "the file is truncated: its pixel data ends before the picture does";

// Room for the largest headers, their colour masks and a palette of 256 colours.
inline constexpr int BmpHeadBytes = 14 + 124 + 16 + 256 * 4;

// The headers at the start of the file (its first BmpHeadBytes bytes, or all of a shorter
// file). A data offset inside the palette shortens the palette; one before it, as some
// writers leave it at 0, starts the data right after it.
BmpHeader ReadBmpHeader(const QByteArray& head);

// Why the program cannot read this kind of BMP (empty when it can): an unknown header size,
// bits a pixel or compression, or compressed data in JPEG or PNG.
QString BmpFormatFault(const BmpHeader& header);

// Why the file cannot hold the pixels its headers claim (empty when it can): uncompressed data
// that stops short or starts past the end of the file, or run-length data too short for the
// picture's size.
QString BmpDataFault(const BmpHeader& header, qint64 fileSize);
