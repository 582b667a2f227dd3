#include "codecs/PictureDecoder.h"

#include "codecs/BmpDecoder.h"
#include "codecs/DecodeRequest.h"
#include "codecs/GifDecoder.h"
#include "codecs/JpegDecoder.h"
#include "codecs/PictureInput.h"
#include "codecs/PngDecoder.h"
#include "core/Failure.h"
#include "platform/FileSystem.h"

namespace {

// Each format the program reads: the bytes its files begin with, and its decoder.
struct PictureFormat {
    const char* name;
    QByteArrayView signature;
    Picture (*decode)(const DecodeRequest&);
};

constexpr PictureFormat Formats[] = {
    {"bmp", "BM", DecodeBmp},
    {"gif", "GIF87a", DecodeGif},
    {"gif", "GIF89a", DecodeGif},
    {"jpeg", "\xff\xd8\xff", DecodeJpeg},
    {"png", "\x89PNG\r\n\x1a\n", DecodePng},
};
constexpr int LongestSignature = 8;

const PictureFormat* formatOf(const QByteArray& head)
{
    for (const PictureFormat& format : Formats)
        if (head.startsWith(format.signature))
            return &format;
    return nullptr;
}

} // namespace

QByteArray SniffPictureFormat(const QByteArray& head)
{
    const PictureFormat* format = formatOf(head);
    return format ? QByteArray(format->name) : QByteArray();
}

Picture DecodePictureFile(const QString& path, QSize canvasSize, DecoderMemory* jobMemory, PictureFit fit, const StopFlag* stop)
{
    // Refuses what is not a file without opening it: opening a pipe would wait for a writer.
    RequirePictureFile(path);
    PictureInput input(path);
    if (input.size() == 0)
        throw PictureLoadFailure(FailureNumber::InvalidPicture, path, QStringLiteral("the file is empty"));

    // The content decides the decoder, never the name; and only the decoders of the formats
    // the program reads ever see a file.
    QByteArray head(LongestSignature, Qt::Uninitialized);
    head.truncate(qsizetype(input.read(head.data(), std::size_t(head.size()))));
    const PictureFormat* format = formatOf(head);
    if (!format)
        throw PictureLoadFailure(FailureNumber::InvalidPicture, path,
                                 QStringLiteral("it is not a BMP, GIF, JPEG or PNG picture"));
    input.seek(0);

    DecoderMemory ownMemory;
    const DecodeRequest request{path, input, canvasSize, jobMemory ? *jobMemory : ownMemory, fit, stop};
    return format->decode(request);
}
