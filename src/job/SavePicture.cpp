#include "job/SavePicture.h"

#include "platform/FileSystem.h"
#include "core/Failure.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageWriter>

namespace {

[[noreturn]] void fail(int number, const QString& path, const QString& cause)
{
    throw Failure(number,
                  QStringLiteral("Cannot save the picture %1: %2").arg(QDir::toNativeSeparators(path), cause).toStdString(),
                  path.toStdString(), cause.toStdString());
}

} // namespace

void SavePicture(const Picture& picture, const QString& path)
{
    if (picture.isNull())
        fail(FailureNumber::InvalidPicture, path, QStringLiteral("the picture is empty"));

    // Encoded in memory first, so nothing touches the file unless the encoding worked.
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels), picture.width, picture.height,
                       static_cast<qsizetype>(picture.stride * 4), QImage::Format_RGB32);
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image))
        fail(FailureNumber::InvalidPicture, path, writer.errorString());

    if (const std::optional<WriteError> error = WriteFileReplacing(path, bitmap))
        fail(error->cause == WriteError::Cause::FolderMissing ? FailureNumber::PathNotFound
                                                             : FailureNumber::PathFileAccess,
             path, error->reason);
}
