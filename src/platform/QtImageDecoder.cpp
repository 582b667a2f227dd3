#include "platform/QtImageDecoder.h"

#include "platform/BmpHeader.h"
#include "platform/ReducedPicture.h"
#include "core/Failure.h"

#include <QImage>
#include <QImageReader>

#include <algorithm>

namespace {

// Rows converted at a time from the reader's format: a strip, never a second whole image.
constexpr int StripRows = 64;

} // namespace

Picture DecodeWithQtReader(QIODevice& file, const QByteArray& format, const QByteArray& head, const DecodeRequest& request)
{
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);

    const bool bmp = format == "bmp";
    const BmpHeader bmpHeader = bmp ? ReadBmpHeader(head) : BmpHeader();
    const QSize size = bmp && !reader.size().isValid() ? bmpHeader.size : reader.size();
    if (size.isValid())
        RefuseOversizedPicture(request, size.width(), size.height());
    if (bmp) {
        const QString fault = BmpDataFault(bmpHeader, request.fileSize);
        if (!fault.isEmpty())
            RefusePicture(request, FailureNumber::InvalidPicture, fault);
    }
    const qint64 pixels = size.isValid() ? qint64(size.width()) * size.height() : 0;
    if (!bmp && pixels > MostGifPixelsPerByte * request.fileSize)
        RefusePicture(request, FailureNumber::InvalidPicture,
                      QStringLiteral("its %1 bytes cannot make %2 x %3 pixels (at most %4 a byte)")
                          .arg(request.fileSize)
                          .arg(size.width())
                          .arg(size.height())
                          .arg(MostGifPixelsPerByte));

    // Qt's BMP reader keeps the file's own depth below 8 bits; the rest take 32 bits a pixel.
    const int formatBits = QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
    const qint64 bits = bmp && formatBits > 0 ? formatBits : 32;
    const std::size_t imageBytes = std::size_t((qint64(std::max(0, size.width())) * bits + 31) / 32 * 4 * std::max(0, size.height()));
    MemoryReservation reservation;
    if (!reservation.take(request.memory, imageBytes))
        RefusePicture(request, FailureNumber::OutOfMemory, TooMuchMemoryCause(imageBytes, request.memory.limit()));

    QImage image = reader.read();
    if (image.isNull())
        RefusePicture(request, FailureNumber::InvalidPicture, reader.errorString());

    ReducedPicture reduced(image.size(), 1, request.canvas);
    const bool opaque = image.format() == QImage::Format_RGB32;
    for (int y = 0; y < image.height(); y += StripRows) {
        const int rows = std::min(StripRows, image.height() - y);
        QImage strip(image.constScanLine(y), image.width(), rows, image.bytesPerLine(), image.format());
        strip.setColorTable(image.colorTable());
        if (!opaque)
            strip = strip.convertToFormat(QImage::Format_ARGB32);
        for (int r = 0; r < rows; ++r) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(strip.constScanLine(r));
            if (opaque)
                reduced.addRow(row);
            else
                reduced.addRowOntoWhite(row);
        }
    }
    return reduced.finish();
}
