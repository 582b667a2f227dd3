#include "codecs/SaveAsJPG.h"

#include "platform/FileSystem.h"
#include "core/Failure.h"

#include <QByteArray>
#include <QString>

#include <turbojpeg.h>

#include <bit>
#include <memory>
#include <new>
#include <string>

namespace {

// The description keeps the form the window's report shows; the path and the cause in
// words travel beside it for messages that name them.
[[noreturn]] void failWith(int status, const QString& path, const QString& cause)
{
    throw Failure(FailureNumber::InvalidCall, "Cannot save the image. GDI+ Error:" + std::to_string(status),
                  path.toStdString(), cause.toStdString());
}

struct CompressorRelease {
    void operator()(void* compressor) const { tjDestroy(compressor); }
};

// Our pixels are 32-bit words 0xffRRGGBB; in memory that is B, G, R, X on a little-endian
// machine and X, R, G, B on a big-endian one.
constexpr int PixelFormat = std::endian::native == std::endian::little ? TJPF_BGRX : TJPF_XRGB;

QByteArray encode(const Picture& picture, int quality, const QString& path)
{
    if (picture.isNull())
        failWith(JpegStatus::InvalidParameter, path, QStringLiteral("the picture is empty"));
    if (picture.width > MaxJpegSide || picture.height > MaxJpegSide)
        failWith(JpegStatus::InvalidParameter, path,
                 QStringLiteral("a JPEG picture can have at most %1 pixels a side").arg(MaxJpegSide));
    if (quality < 0 || quality > 100)
        failWith(JpegStatus::InvalidParameter, path, QStringLiteral("the quality %1 is not from 0 to 100").arg(quality));

    const std::unique_ptr<void, CompressorRelease> compressor(tjInitCompress());
    if (!compressor)
        failWith(JpegStatus::GenericError, path,
                 QStringLiteral("the JPEG encoder could not be started: %1").arg(QString::fromUtf8(tjGetErrorStr2(nullptr))));

    // The worst case size up front, so the encoder never reallocates behind our back.
    QByteArray jpeg;
    try {
        jpeg = QByteArray(static_cast<qsizetype>(tjBufSize(picture.width, picture.height, TJSAMP_444)),
                          Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        failWith(JpegStatus::OutOfMemory, path, QStringLiteral("there is not enough memory to encode the picture"));
    }
    auto* out = reinterpret_cast<unsigned char*>(jpeg.data());
    unsigned long size = static_cast<unsigned long>(jpeg.size());
    // Accurate DCT and no chroma subsampling: the encoder's best output at this quality.
    const int status = tjCompress2(compressor.get(), reinterpret_cast<const unsigned char*>(picture.pixels),
                                   picture.width, static_cast<int>(picture.stride * 4), picture.height,
                                   PixelFormat, &out, &size, TJSAMP_444, quality,
                                   TJFLAG_ACCURATEDCT | TJFLAG_NOREALLOC);
    if (status != 0)
        failWith(JpegStatus::GenericError, path,
                 QStringLiteral("the JPEG encoder failed: %1").arg(QString::fromUtf8(tjGetErrorStr2(compressor.get()))));
    jpeg.truncate(static_cast<qsizetype>(size));
    return jpeg;
}

int statusOf(WriteError::Cause cause)
{
    switch (cause) {
    case WriteError::Cause::FolderMissing:
        return JpegStatus::FileNotFound;
    case WriteError::Cause::AccessDenied:
        return JpegStatus::AccessDenied;
    case WriteError::Cause::WriteFailed:
        break;
    }
    return JpegStatus::Win32Error;
}

} // namespace

void SaveJPG(const Picture& picture, const QString& path, int quality)
{
    const QByteArray jpeg = encode(picture, quality, path);
    if (const std::optional<WriteError> error = WriteFileReplacing(path, jpeg))
        failWith(statusOf(error->cause), path, error->reason);
}
