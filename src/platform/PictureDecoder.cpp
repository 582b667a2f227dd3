#include "platform/PictureDecoder.h"

#include "platform/BmpDecoder.h"
#include "platform/DecodeRequest.h"
#include "platform/FileSystem.h"
#include "platform/GifDecoder.h"
#include "platform/JpegDecoder.h"
#include "platform/PngDecoder.h"
#include "core/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

[[noreturn]] void fail(int number, const QString& shownPath, const QString& cause)
{
    throw Failure(number, QStringLiteral("Cannot load the picture %1: %2").arg(shownPath, cause).toStdString());
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

Picture DecodePictureFile(const QString& path, QSize canvasSize, DecoderMemory* jobMemory)
{
    RequirePictureFile(path);
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
    const QByteArray format = SniffPictureFormat(file.peek(8));
    if (format.isEmpty())
        fail(FailureNumber::InvalidPicture, shown, QStringLiteral("it is not a BMP, GIF, JPEG or PNG picture"));

    DecoderMemory ownMemory;
    const DecodeRequest request{path, shown, file.size(), canvasSize, jobMemory ? *jobMemory : ownMemory};
    if (format == "jpeg")
        return DecodeJpeg(request);
    if (format == "png")
        return DecodePng(request);
    if (format == "gif")
        return DecodeGif(file, request);
    return DecodeBmp(file, request);
}
