#include "platform/PictureDecoder.h"

#include "platform/DecodeRequest.h"
#include "platform/FileSystem.h"
#include "platform/JpegDecoder.h"
#include "platform/PngDecoder.h"
#include "platform/QtImageDecoder.h"
#include "core/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

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
    const QByteArray head = file.peek(34);
    const QByteArray format = SniffPictureFormat(head);
    if (format.isEmpty())
        fail(FailureNumber::InvalidPicture, shown, QStringLiteral("it is not a BMP, GIF, JPEG or PNG picture"));

    DecoderMemory ownMemory;
    const DecodeRequest request{path, shown, file.size(), canvasSize, jobMemory ? *jobMemory : ownMemory};
    if (format == "jpeg")
        return DecodeJpeg(request);
    if (format == "png")
        return DecodePng(request);
    return DecodeWithQtReader(file, format, head, request);
}
