#include "codecs/BmpHeader.h"

#include "codecs/DecoderBudget.h"

#include <algorithm>
#include <climits>

namespace {

using namespace BmpCompression;

// The little-endian number of `bytes` bytes at `at`; what lies past the end counts as 0.
std::int64_t le(const QByteArray& head, qint64 at, int bytes)
{
    std::int64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        const qint64 index = at + i;
        value = value << 8 | (index >= 0 && index < head.size() ? static_cast<unsigned char>(head[index]) : 0);
    }
    return value;
}

bool knownHeaderSize(std::int64_t bytes)
{
    return bytes == 12 || bytes == 40 || bytes == 52 || bytes == 56 || bytes == 64 || bytes == 108 || bytes == 124;
}

} // namespace

BmpHeader ReadBmpHeader(const QByteArray& head)
{
    BmpHeader header;
    if (head.size() < 26)
        return header;
    header.dataOffset = le(head, 10, 4);
    header.headerBytes = le(head, 14, 4);
    const bool os2 = header.headerBytes == 12; // the old OS/2 header: 16-bit sizes, 3-byte colours
    if (os2) {
        header.size = QSize(int(le(head, 18, 2)), int(le(head, 20, 2)));
        header.bitsPerPixel = int(le(head, 24, 2));
    } else {
        const std::int64_t width = le(head, 18, 4);
        const std::int64_t storedHeight = std::int32_t(le(head, 22, 4));
        const std::int64_t height = storedHeight < 0 ? -storedHeight : storedHeight;
        header.topDown = storedHeight < 0;
        if (width > 0 && width <= INT_MAX && height <= INT_MAX)
            header.size = QSize(int(width), int(height));
        header.bitsPerPixel = int(le(head, 28, 2));
        header.compression = std::uint32_t(le(head, 30, 4));
    }

    if (!knownHeaderSize(header.headerBytes))
        return header; // refused by BmpFormatFault; where its masks and palette lie is unknown

    // Colour masks: inside the header from 52 bytes on, or right after a 40-byte one.
    const qint64 infoEnd = 14 + header.headerBytes;
    qint64 paletteStart = infoEnd;
    const bool bitFields = header.compression == BitFields || header.compression == AlphaBitFields;
    if (bitFields && header.headerBytes != 64) {
        const int maskCount = header.headerBytes >= 56 || header.compression == AlphaBitFields ? 4 : 3;
        const qint64 masksAt = header.headerBytes >= 52 ? 54 : infoEnd;
        for (int i = 0; i < maskCount; ++i)
            header.masks[i] = std::uint32_t(le(head, masksAt + 4 * i, 4));
        if (header.headerBytes == 40)
            paletteStart += 4 * maskCount;
    } else if (header.bitsPerPixel == 16) {
        header.masks = {0x7c00, 0x03e0, 0x001f, 0};
    } else if (header.bitsPerPixel == 24 || header.bitsPerPixel == 32) {
        header.masks = {0xff0000, 0x00ff00, 0x0000ff, 0};
    }

    if (header.bitsPerPixel >= 1 && header.bitsPerPixel <= 8) {
        const int entryBytes = os2 ? 3 : 4;
        const std::int64_t used = os2 ? 0 : le(head, 46, 4);
        const std::int64_t most = std::int64_t(1) << header.bitsPerPixel;
        std::int64_t colours = used > 0 && used < most ? used : most;
        if (header.dataOffset > paletteStart)
            colours = std::min<std::int64_t>(colours, (header.dataOffset - paletteStart) / entryBytes);
        for (std::int64_t i = 0; i < colours; ++i) {
            const qint64 at = paletteStart + i * entryBytes;
            header.palette.append(0xff000000u | std::uint32_t(le(head, at, 3)));
        }
        paletteStart += colours * entryBytes;
    }
    if (header.dataOffset < paletteStart)
        header.dataOffset = paletteStart;
    return header;
}

QString BmpFormatFault(const BmpHeader& header)
{
    if (!knownHeaderSize(header.headerBytes))
        return QStringLiteral("its header of %1 bytes is not one of a BMP the program reads").arg(header.headerBytes);
    const int bits = header.bitsPerPixel;
    const std::uint32_t compression = header.compression;
    const bool supported = [&] {
        if (header.headerBytes == 64 && compression > Rle4)
            return false; // OS/2 numbers its other compressions differently
        switch (compression) {
        case Rgb:
            return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case Rle8:
            return bits == 8;
        case Rle4:
            return bits == 4;
        case BitFields:
        case AlphaBitFields:
            return bits == 16 || bits == 32;
        default:
            return false;
        }
    }();
    if (!supported)
        return QStringLiteral("its %1 bits a pixel with compression %2 are not a kind of BMP the program reads")
            .arg(bits)
            .arg(compression);
    return {};
}

QString BmpDataFault(const BmpHeader& header, qint64 fileSize)
{
    if (!header.size.isValid())
        return {};
    if (header.dataOffset >= fileSize)
        return QStringLiteral("its pixel data would start past the end of the file");
    const qint64 dataBytes = fileSize - header.dataOffset;
    const qint64 pixels = qint64(header.size.width()) * header.size.height();
    switch (header.compression) {
    case Rle8:
    case Rle4:
        if (pixels > MostRlePixelsPerByte * dataBytes)
            return QStringLiteral("its %1 bytes of run-length data cannot make %2 x %3 pixels (at most %4 a byte)")
                .arg(dataBytes)
                .arg(header.size.width())
                .arg(header.size.height())
                .arg(MostRlePixelsPerByte);
        return {};
    default: {
        const qint64 rowBytes = (qint64(header.size.width()) * header.bitsPerPixel + 31) / 32 * 4;
        if (rowBytes * header.size.height() > dataBytes)
            return QString::fromLatin1(BmpTruncatedCause);
        return {};
    }
    }
}
