#include "platform/PictureDecoder.h"

#include "platform/FileSystem.h"
#include "platform/JpegEnd.h"
#include "core/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <climits>
#include <memory>
#include <mutex>

namespace {

[[noreturn]] void fail(int number, const QString& shownPath, const QString& cause)
{
    throw Failure(number, QStringLiteral("Cannot load the picture %1: %2").arg(shownPath, cause).toStdString());
}

// Qt refuses to allocate a decoded image above this limit; a handler that does not report
// its size before decoding still fails at once instead of taking all memory. The limit is
// process-wide, so it is set once, however many threads decode.
void limitDecodingAllocations()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(PictureAllocationLimitMiB); });
}

Picture wrap(QImage image)
{
    auto owner = std::make_shared<QImage>(std::move(image));
    Picture picture;
    picture.pixels = reinterpret_cast<const std::uint32_t*>(owner->constBits());
    picture.width = owner->width();
    picture.height = owner->height();
    picture.stride = owner->bytesPerLine() / 4;
    picture.owner = std::move(owner);
    return picture;
}

QImage flattenOntoWhite(const QImage& image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

// The size a BMP header claims. Qt's reader does not tell the size of a BMP it will refuse,
// and the user should hear why it is refused.
QSize claimedBmpSize(const QByteArray& head)
{
    if (head.size() < 26)
        return {};
    auto le = [&head](int at, int bytes) {
        qint64 value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(head[at + i]);
        return value;
    };
    if (le(14, 4) == 12) // the old OS/2 header with 16-bit sizes
        return QSize(int(le(18, 2)), int(le(20, 2)));
    const qint64 width = le(18, 4);
    const qint64 height = qAbs(qint64(qint32(le(22, 4))));
    return width > 0 && width <= INT_MAX && height <= INT_MAX ? QSize(int(width), int(height)) : QSize();
}

} // namespace

QByteArray SniffPictureFormat(const QByteArray& head)
{
    if (head.startsWith("BM"))
        return "bmp";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return "gif";
    if (head.startsWith("\xff\xd8\xff"))
        return "jpeg";
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    return {};
}

QSize ShrinkOnLoadSize(QSize stored, bool quarterTurned, QSize minimum)
{
    const QSize upright = quarterTurned ? stored.transposed() : stored;
    // Rounded down: Qt's JPEG reader takes the DCT scale from the ratio of stored to asked
    // size, and a size rounded up would push it to the next larger scale and a resample.
    for (const int reduction : {8, 4, 2}) {
        if (upright.width() / reduction >= minimum.width() && upright.height() / reduction >= minimum.height())
            return QSize(stored.width() / reduction, stored.height() / reduction);
    }
    return stored;
}

Picture DecodePictureFile(const QString& path, QSize minimumSize)
{
    RequirePictureFile(path);
    limitDecodingAllocations();
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw Failure(FailureNumber::FileNotFound, QStringLiteral("File not found: %1").arg(shown).toStdString());
    if (info.isDir())
        fail(FailureNumber::InvalidPicture, shown, QStringLiteral("it is a folder"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(FailureNumber::PathFileAccess, shown, file.errorString());
    if (file.size() == 0)
        fail(FailureNumber::InvalidPicture, shown, QStringLiteral("the file is empty"));

    // The content decides the decoder, never the name; and only the decoders of the formats
    // the program reads ever see a file.
    const QByteArray head = file.peek(26);
    const QByteArray format = SniffPictureFormat(head);
    if (format.isEmpty())
        fail(FailureNumber::InvalidPicture, shown, QStringLiteral("it is not a BMP, GIF, JPEG or PNG picture"));
    if (format == "jpeg" && !JpegReachesEndOfImage(file))
        fail(FailureNumber::InvalidPicture, shown, QStringLiteral("the file is truncated: it ends before the picture does"));

    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);

    const QSize stored = format == "bmp" && !reader.size().isValid() ? claimedBmpSize(head) : reader.size();
    if (stored.isValid() && qint64(stored.width()) * stored.height() >= MostPicturePixels)
        fail(FailureNumber::OutOfMemory, shown,
             QStringLiteral("at %1 x %2 pixels it is larger than the %3 megapixels a picture may have")
                 .arg(stored.width())
                 .arg(stored.height())
                 .arg(MostPicturePixels / 1000000));
    if (format == "jpeg" && stored.isValid()) {
        const bool quarterTurned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize decoded = ShrinkOnLoadSize(stored, quarterTurned, minimumSize);
        if (decoded != stored)
            reader.setScaledSize(decoded);
    }

    QImage image = reader.read();
    if (image.isNull())
        fail(FailureNumber::InvalidPicture, shown, reader.errorString());
    if (image.hasAlphaChannel())
        image = flattenOntoWhite(image);
    else if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return wrap(std::move(image));
}
