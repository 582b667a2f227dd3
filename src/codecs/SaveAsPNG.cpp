#include "codecs/SaveAsPNG.h"

#include "codecs/PictureFileWriting.h"
#include "core/Failure.h"

#include <QByteArray>

#include <png.h>

#include <bit>
#include <cstring>

namespace {

struct PngEncoding {
    png_structp png = nullptr;
    png_infop info = nullptr;
    QByteArray bytes;
    char message[200] = {};
    bool stopped = false;

    ~PngEncoding() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

PngEncoding& encodingOf(png_structp png)
{
    return *static_cast<PngEncoding*>(png_get_error_ptr(png));
}

void onError(png_structp png, png_const_charp message)
{
    std::strncpy(encodingOf(png).message, message, sizeof PngEncoding::message - 1);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, std::size_t length)
{
    // No libpng frame may be unwound by an exception: a failed append leaves through
    // libpng's own way out.
    QByteArray& bytes = encodingOf(png).bytes;
    try {
        bytes.append(reinterpret_cast<const char*>(data), qsizetype(length));
    } catch (...) {
        png_error(png, "there is not enough memory to encode the picture");
    }
}

void flush(png_structp) {}

// Only plain values live in this frame, which libpng's error leaves by a long jump.
bool encode(PngEncoding& e, const Picture& picture, const StopFlag* stop)
{
    if (setjmp(png_jmpbuf(e.png)))
        return false;
    png_set_write_fn(e.png, nullptr, appendBytes, flush);
    // libpng's limit of a million pixels a side guards readers; a picture of ours may be longer.
    png_set_user_limits(e.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_IHDR(e.png, e.info, png_uint_32(picture.width), png_uint_32(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(e.png, e.info);
    // Our pixels are 32-bit words 0xffRRGGBB: B, G, R, X in memory on a little-endian machine,
    // X, R, G, B on a big-endian one. libpng drops the unused byte.
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(e.png);
        png_set_filler(e.png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_filler(e.png, 0, PNG_FILLER_BEFORE);
    }
    for (int y = 0; y < picture.height; ++y) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            e.stopped = true;
            return false;
        }
        png_write_row(e.png, reinterpret_cast<png_const_bytep>(picture.row(y)));
    }
    png_write_end(e.png, nullptr);
    return true;
}

} // namespace

void SavePNG(const Picture& picture, const QString& path, const StopFlag* stop)
{
    if (picture.isNull())
        FailSavingPicture(FailureNumber::InvalidPicture, path, QStringLiteral("the picture is empty"));
    PngEncoding e;
    e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &e, onError, onWarning);
    if (e.png)
        e.info = png_create_info_struct(e.png);
    if (!e.info)
        FailSavingPicture(FailureNumber::OutOfMemory, path, QStringLiteral("there is not enough memory to encode the picture"));
    const bool encoded = encode(e, picture, stop);
    if (e.stopped)
        throw Stopped();
    if (!encoded)
        FailSavingPicture(FailureNumber::InvalidCall, path,
                          QStringLiteral("the PNG encoder failed: %1").arg(QString::fromUtf8(e.message)));
    WritePictureBytes(path, e.bytes);
}
