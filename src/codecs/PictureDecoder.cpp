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

namespace {

// What one decoding of a file is asked for, beyond the file itself.
struct Decoding {
    QSize canvas;
    DecoderMemory* memory = nullptr;
    PictureFit fit = PictureFit::Stretch;
    const StopFlag* stop = nullptr;
    RowSink* rows = nullptr;
    bool headerOnly = false;
};

Picture decodeFile(const QString& path, const Decoding& decoding)
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
    DecodeRequest request{path, input, decoding.canvas, decoding.memory ? *decoding.memory : ownMemory, decoding.fit,
                          decoding.stop};
    request.rows = decoding.rows;
    request.headerOnly = decoding.headerOnly;
    return format->decode(request);
}

} // namespace

Picture DecodePictureFile(const QString& path, QSize canvasSize, DecoderMemory* jobMemory, PictureFit fit, const StopFlag* stop)
{
    return decodeFile(path, {canvasSize, jobMemory, fit, stop});
}

void DecodePictureRows(const QString& path, QSize size, PictureFit fit, DecoderMemory& jobMemory, RowSink& rows,
                       const StopFlag* stop)
{
    decodeFile(path, {size, &jobMemory, fit, stop, &rows});
}

QSize PictureFileSize(const QString& path)
{
    try {
        // A canvas no picture is reduced for, so that the header tells the picture's own size.
        decodeFile(path, {QSize(1 << 28, 1 << 28), nullptr, PictureFit::Stretch, nullptr, nullptr, true});
    } catch (const HeaderRead& header) {
        return header.upright;
    }
    // Every decoder reads its header before any row, or refuses the file.
    throw PictureLoadFailure(FailureNumber::InvalidPicture, path, QStringLiteral("its header tells no size"));
}
