#include "codecs/SaveAsWebP.h"

#include "codecs/PictureFileWriting.h"
#include "codecs/WrittenFormats.h"
#include "core/Failure.h"
#include "core/PixelMemory.h"
#include "platform/ReplacingFile.h"

#include <webp/encode.h>

#include <cstring>
#include <new>

namespace {

struct PictureRelease {
    void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
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

// The encoder's writer: the bytes go to the file as they are made.
int appendToFile(const std::uint8_t* data, std::size_t size, const WebPPicture* picture)
{
    return static_cast<ReplacingFile*>(picture->custom_ptr)->append(data, size) ? 1 : 0;
}

void refuseUnwritable(const QString& path, QSize size, int quality)
{
    if (size.isEmpty())
        FailSavingPicture(FailureNumber::InvalidPicture, path, QStringLiteral("the picture is empty"));
    if (const QString refusal = SideRefusal(WrittenFormat::WebP, size); !refusal.isEmpty())
        FailSavingPicture(FailureNumber::InvalidCall, path, refusal);
    if (const QString refusal = QualityRefusal(WrittenFormat::WebP, quality); !refusal.isEmpty())
        FailSavingPicture(FailureNumber::InvalidCall, path, refusal);
}

void requireOpen(const ReplacingFile& file, const QString& path)
{
    if (const std::optional<WriteError> error = file.error())
        FailWritingPicture(path, *error);
}

// The pixels of a picture of the size, one row every stride pixels, encoded into the file,
// which is then committed.
void encodeInto(ReplacingFile& file, const QString& path, const std::uint32_t* pixels, QSize size, std::ptrdiff_t stride,
                int quality, const StopFlag* stop)
{
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
    webp.width = size.width();
    webp.height = size.height();
    webp.argb = const_cast<std::uint32_t*>(pixels);
    webp.argb_stride = static_cast<int>(stride);
    webp.writer = appendToFile;
    webp.custom_ptr = &file;
    if (stop) {
        webp.progress_hook = goOnUnlessStopped;
        webp.user_data = const_cast<StopFlag*>(stop);
    }
    if (!WebPEncode(&config, &webp)) {
        if (webp.error_code == VP8_ENC_ERROR_USER_ABORT)
            throw Stopped();
        if (const std::optional<WriteError> error = file.error())
            FailWritingPicture(path, *error);
        FailSavingPicture(FailureNumber::InvalidCall, path, causeOf(webp.error_code));
    }
    if (!file.commit())
        FailWritingPicture(path, *file.error());
}

class WebPFile final : public CheckedRowWriter {
public:
    WebPFile(const QString& path, QSize size, int quality, const StopFlag* stop)
        : CheckedRowWriter(size.height()), path_(path), size_(size), quality_(quality), stop_(stop), file_(path)
    {
        requireOpen(file_, path_);
        try {
            pixels_ = NewPixels(std::size_t(size.width()) * std::size_t(size.height()));
        } catch (const std::bad_alloc&) {
            FailSavingPicture(FailureNumber::OutOfMemory, path_, QStringLiteral("there is not enough memory to encode the picture"));
        }
    }

protected:
    void putRow(const std::uint32_t* row, int y) override
    {
        const std::size_t width = std::size_t(size_.width());
        std::memcpy(pixels_.get() + std::size_t(y) * width, row, width * sizeof *row);
    }

    void complete() override
    {
        encodeInto(file_, path_, pixels_.get(), size_, size_.width(), quality_, stop_);
        pixels_.reset();
    }

    void refuseRows(const QString& cause) const override { FailSavingPicture(FailureNumber::InvalidCall, path_, cause); }

private:
    QString path_;
    QSize size_;
    int quality_;
    const StopFlag* stop_;
    ReplacingFile file_;
    std::shared_ptr<std::uint32_t[]> pixels_;
};

} // namespace

std::unique_ptr<PictureRowWriter> StartWebPFile(const QString& path, QSize size, int quality, const StopFlag* stop)
{
    refuseUnwritable(path, size, quality);
    return std::make_unique<WebPFile>(path, size, quality, stop);
}

void SaveWebP(const Picture& picture, const QString& path, int quality, const StopFlag* stop)
{
    const QSize size = SizeToWrite(picture);
    refuseUnwritable(path, size, quality);
    ReplacingFile file(path);
    requireOpen(file, path);
    encodeInto(file, path, picture.pixels, size, picture.stride, quality, stop);
}
