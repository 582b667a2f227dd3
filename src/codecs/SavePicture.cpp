#include "codecs/SavePicture.h"

#include "codecs/PictureFileWriting.h"
#include "core/Failure.h"

#include <cstdint>

namespace {

void appendLittleEndian(QByteArray& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char(value >> (8 * i) & 0xff));
}

// 24 bits a pixel, stored from the bottom row up, each row padded to four bytes: the BMP that
// every reader takes.
QByteArray encodeBmp(const Picture& picture)
{
    constexpr std::uint32_t HeadersBytes = 14 + 40;
    constexpr std::uint32_t PixelsPerMetre = 2835; // 72 dots an inch
    const std::uint32_t rowBytes = (std::uint32_t(picture.width) * 3 + 3) / 4 * 4;
    const std::uint32_t dataBytes = rowBytes * std::uint32_t(picture.height);
    QByteArray out;
    out.reserve(qsizetype(HeadersBytes + dataBytes));
    out.append("BM");
    appendLittleEndian(out, HeadersBytes + dataBytes, 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, HeadersBytes, 4);
    appendLittleEndian(out, 40, 4);
    appendLittleEndian(out, std::uint32_t(picture.width), 4);
    appendLittleEndian(out, std::uint32_t(picture.height), 4);
    appendLittleEndian(out, 1, 2);  // planes
    appendLittleEndian(out, 24, 2); // bits a pixel
    appendLittleEndian(out, 0, 4);  // uncompressed
    appendLittleEndian(out, dataBytes, 4);
    appendLittleEndian(out, PixelsPerMetre, 4);
    appendLittleEndian(out, PixelsPerMetre, 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, 0, 4);
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::uint32_t* row = picture.row(y);
        for (int x = 0; x < picture.width; ++x) {
            const char bgr[] = {char(row[x] & 0xff), char(row[x] >> 8 & 0xff), char(row[x] >> 16 & 0xff)};
            out.append(bgr, 3);
        }
        out.append(qsizetype(rowBytes - std::uint32_t(picture.width) * 3), '\0');
    }
    return out;
}

} // namespace

void SavePicture(const Picture& picture, const QString& path)
{
    if (picture.isNull())
        FailSavingPicture(FailureNumber::InvalidPicture, path, QStringLiteral("the picture is empty"));
    WritePictureBytes(path, encodeBmp(picture));
}
