#include "platform/BmpHeader.h"

#include "platform/DecoderBudget.h"

#include <climits>

namespace {

constexpr quint32 Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6;

} // namespace

BmpHeader ReadBmpHeader(const QByteArray& head)
{
    if (head.size() < 26)
        return {};
    auto le = [&head](int at, int bytes) {
        qint64 value = 0;
        for (int i = bytes - 1; i >= 0 && at + i < head.size(); --i)
            value = value << 8 | static_cast<unsigned char>(head[at + i]);
        return value;
    };
    BmpHeader header;
    header.dataOffset = le(10, 4);
    if (le(14, 4) == 12) { // the old OS/2 header with 16-bit sizes and no compression
        header.size = QSize(int(le(18, 2)), int(le(20, 2)));
        header.bitsPerPixel = int(le(24, 2));
        return header;
    }
    const qint64 width = le(18, 4);
    const qint64 height = qAbs(qint64(qint32(le(22, 4))));
    if (width > 0 && width <= INT_MAX && height <= INT_MAX)
        header.size = QSize(int(width), int(height));
    header.bitsPerPixel = int(le(28, 2));
    header.compression = quint32(le(30, 4));
    return header;
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
    case Rgb:
    case BitFields:
    case AlphaBitFields: {
        const qint64 rowBytes = (qint64(header.size.width()) * header.bitsPerPixel + 31) / 32 * 4;
        if (rowBytes * header.size.height() > dataBytes)
            return QStringLiteral("the file is truncated: its pixel data ends before the picture does");
        return {};
    }
    case Rle8:
    case Rle4:
        if (pixels > MostRlePixelsPerByte * dataBytes)
            return QStringLiteral("its %1 bytes of run-length data cannot make %2 x %3 pixels (at most %4 a byte)")
                .arg(dataBytes)
                .arg(header.size.width())
                .arg(header.size.height())
                .arg(MostRlePixelsPerByte);
        return {};
    default:
        return {};
    }
}
