#include "codecs/SaveAsWebP.h"

#include "codecs/PictureFileWriting.h"
#include "core/Failure.h"

#include <QByteArray>

#include <webp/encode.h>

#include <memory>

namespace {

struct PictureRelease {
    void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
};
struct WriterRelease {
    void operator()(WebPMemoryWriter* writer) const { WebPMemoryWriterClear(writer); }
};

QString causeOf(WebPEncodingError error)
{
    switch (error) {
    case VP8_ENC_ERROR_OUT_OF_MEMORY:
    case VP8_ENC_ERROR_BITSTREAM_OUT_OF_MEMORY:
        return QStringLiteral("there is not enough memory to encode the picture");
    case VP8_ENC_ERROR_PARTITION0_OVERFLOW:
    case VP8_ENC_ERROR_PARTITION_OVERFLOW:
    case VP8_ENC_ERROR_FILE_TOO_BIG:
        return QStringLiteral("the encoded picture is larger than a WebP file can hold");
    default:
        return QStringLiteral("the WebP encoder failed (error %1)").arg(int(error));
    }
}

// The encoder's progress hook: going on unless the stop flag in the picture's user data is set.
int goOnUnlessStopped(int, const WebPPicture* picture)
{
    const auto* stop = static_cast<const StopFlag*>(picture->user_data);
    return stop->load(std::memory_order_relaxed) ? 0 : 1;
}

} // namespace

void SaveWebP(const Picture& picture, const QString& path, int quality, const StopFlag* stop)
{
    if (picture.isNull())
        FailSavingPicture(FailureNumber::InvalidPicture, path, QStringLiteral("the picture is empty"));
    if (picture.width > MaxWebPSide || picture.height > MaxWebPSide)
        FailSavingPicture(FailureNumber::InvalidCall, path,
                          QStringLiteral("a WebP picture can have at most %1 pixels a side").arg(MaxWebPSide));
    if (quality < 1 || quality > 100)
        FailSavingPicture(FailureNumber::InvalidCall, path, QStringLiteral("the quality %1 is not from 1 to 100").arg(quality));

    WebPConfig config;
    if (!WebPConfigInit(&config))
        FailSavingPicture(FailureNumber::InvalidCall, path, QStringLiteral("the WebP encoder could not be started"));
    config.lossless = quality == 100 ? 1 : 0;
    if (!config.lossless)
        config.quality = float(quality);
    // The colour under a transparent pixel is kept as it is: the encoder then never writes
    // into our pixels, which are all opaque anyway.
    config.exact = 1;

    WebPPicture webp;
    if (!WebPPictureInit(&webp))
        FailSavingPicture(FailureNumber::InvalidCall, path, QStringLiteral("the WebP encoder could not be started"));
    const std::unique_ptr<WebPPicture, PictureRelease> webpOwner(&webp);
    // Our pixels are the encoder's own ARGB words, 0xAARRGGBB in the machine's byte order: it
    // reads them where they are.
    webp.use_argb = 1;
    webp.width = picture.width;
    webp.height = picture.height;
    webp.argb = const_cast<std::uint32_t*>(picture.pixels);
    webp.argb_stride = static_cast<int>(picture.stride);

    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    const std::unique_ptr<WebPMemoryWriter, WriterRelease> writerOwner(&writer);
    webp.writer = WebPMemoryWrite;
    webp.custom_ptr = &writer;
    if (stop) {
        webp.progress_hook = goOnUnlessStopped;
        webp.user_data = const_cast<StopFlag*>(stop);
    }
    if (!WebPEncode(&config, &webp)) {
        if (webp.error_code == VP8_ENC_ERROR_USER_ABORT)
            throw Stopped();
        FailSavingPicture(FailureNumber::InvalidCall, path, causeOf(webp.error_code));
    }
    WritePictureBytes(path, QByteArray(reinterpret_cast<const char*>(writer.mem), qsizetype(writer.size)));
}
