#include "job/SaveAsJPG.h"

#include "platform/FileSystem.h"
#include "core/Failure.h"

#include <QByteArray>

#include <turbojpeg.h>

#include <bit>
#include <memory>
#include <new>
#include <string>

namespace {

// The largest side a JPEG file can describe.
constexpr int MaxJpegSide = 65500;

[[noreturn]] void failWith(int status)
{
    throw Failure(FailureNumber::InvalidCall, "Cannot save the image. GDI+ Error:" + std::to_string(status));
}

struct CompressorRelease {
    void operator()(void* compressor) const { tjDestroy(compressor); }
};

// Our pixels are 32-bit words 0xffRRGGBB; in memory that is B, G, R, X on a little-endian
// machine and X, R, G, B on a big-endian one.
constexpr int PixelFormat = std::endian::native == std::endian::little ? TJPF_BGRX : TJPF_XRGB;

QByteArray encode(const Picture& picture, int quality)
{
    if (picture.isNull() || picture.width > MaxJpegSide || picture.height > MaxJpegSide
        || quality < 0 || quality > 100)
        failWith(JpegStatus::InvalidParameter);

    const std::unique_ptr<void, CompressorRelease> compressor(tjInitCompress());
    if (!compressor)
        failWith(JpegStatus::GenericError);

    // The worst case size up front, so the encoder never reallocates behind our back.
    QByteArray jpeg;
    try {
        jpeg = QByteArray(static_cast<qsizetype>(tjBufSize(picture.width, picture.height, TJSAMP_444)),
                          Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        failWith(JpegStatus::OutOfMemory);
    }
    auto* out = reinterpret_cast<unsigned char*>(jpeg.data());
    unsigned long size = static_cast<unsigned long>(jpeg.size());
    // Accurate DCT and no chroma subsampling: the encoder's best output at this quality.
    const int status = tjCompress2(compressor.get(), reinterpret_cast<const unsigned char*>(picture.pixels),
                                   picture.width, static_cast<int>(picture.stride * 4), picture.height,
                                   PixelFormat, &out, &size, TJSAMP_444, quality,
                                   TJFLAG_ACCURATEDCT | TJFLAG_NOREALLOC);
    if (status != 0)
        failWith(JpegStatus::GenericError);
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
    const QByteArray jpeg = encode(picture, quality);
    if (const std::optional<WriteError> error = WriteFileReplacing(path, jpeg))
        failWith(statusOf(error->cause));
}
