#include "platform/PictureDecoder.h"

#include "report/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <memory>

namespace {

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

} // namespace

Picture DecodePictureFile(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw Failure(FailureNumber::FileNotFound, QStringLiteral("File not found: %1").arg(shown).toStdString());
    if (info.isDir())
        throw Failure(FailureNumber::InvalidPicture, QStringLiteral("Cannot load the picture %1: it is a folder").arg(shown).toStdString());

    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        throw Failure(FailureNumber::InvalidPicture,
                      QStringLiteral("Cannot load the picture %1: %2").arg(shown, reader.errorString()).toStdString());
    if (image.hasAlphaChannel())
        image = flattenOntoWhite(image);
    else if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return wrap(std::move(image));
}
