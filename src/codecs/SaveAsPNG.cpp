#include "codecs/SaveAsPNG.h"

#include "codecs/PictureFileWriting.h"
#include "core/Failure.h"
#include "platform/ReplacingFile.h"

#include <png.h>

#include <bit>
#include <cstring>

namespace {

// Everything one encoding owns. libpng reports errors by a long jump back into the step that
// called it, so nothing with a destructor lives in the frames it jumps over.
struct PngEncoding {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ReplacingFile* file = nullptr;
    bool writeFailed = false; // the file refused the bytes, and says why
    char message[200] = {};

    PngEncoding() = default;
    PngEncoding(const PngEncoding&) = delete;
    PngEncoding& operator=(const PngEncoding&) = delete;
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
    PngEncoding& e = encodingOf(png);
    if (!e.file->append(data, length)) {
        e.writeFailed = true;
        png_error(png, "the file refused the bytes");
    }
}

// The bytes reach the disk when the file is committed.
void flush(png_structp) {}

// The steps that call libpng: only plain values live in their frames. False when libpng gave
// up.
bool started(PngEncoding& e, QSize size)
{
    if (setjmp(png_jmpbuf(e.png)))
        return false;
    png_set_write_fn(e.png, nullptr, appendBytes, flush);
    // libpng's limit of a million pixels a side guards readers; a picture of ours may be longer.
    png_set_user_limits(e.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_IHDR(e.png, e.info, png_uint_32(size.width()), png_uint_32(size.height()), 8, PNG_COLOR_TYPE_RGB,
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
    return true;
}

bool wroteRow(PngEncoding& e, const std::uint32_t* row)
{
    if (setjmp(png_jmpbuf(e.png)))
        return false;
    png_write_row(e.png, reinterpret_cast<png_const_bytep>(row));
    return true;
}

bool finished(PngEncoding& e)
{
    if (setjmp(png_jmpbuf(e.png)))
        return false;
    png_write_end(e.png, nullptr);
    return true;
}

class PngFile final : public CheckedRowWriter {
public:
    PngFile(const QString& path, QSize size) : CheckedRowWriter(size.height()), path_(path), file_(path)
    {
        if (const std::optional<WriteError> error = file_.error())
            FailWritingPicture(path_, *error);
        e_.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &e_, onError, onWarning);
        if (e_.png)
            e_.info = png_create_info_struct(e_.png);
        if (!e_.info)
            FailSavingPicture(FailureNumber::OutOfMemory, path_, QStringLiteral("there is not enough memory to encode the picture"));
        e_.file = &file_;
        if (!started(e_, size))
            failEncoding();
    }

protected:
    void putRow(const std::uint32_t* row, int) override
    {
        if (!wroteRow(e_, row))
            failEncoding();
    }

    void complete() override
    {
        if (!finished(e_))
            failEncoding();
        if (!file_.commit())
            FailWritingPicture(path_, *file_.error());
    }

    void refuseRows(const QString& cause) const override { FailSavingPicture(FailureNumber::InvalidCall, path_, cause); }

private:
    [[noreturn]] void failEncoding() const
    {
        if (e_.writeFailed)
            FailWritingPicture(path_, *file_.error());
        FailSavingPicture(FailureNumber::InvalidCall, path_,
                          QStringLiteral("the PNG encoder failed: %1").arg(QString::fromUtf8(e_.message)));
    }

    QString path_;
    ReplacingFile file_;
    // After the file, which it writes into, so that it goes first.
    PngEncoding e_;
};

} // namespace

std::unique_ptr<PictureRowWriter> StartPngFile(const QString& path, QSize size)
{
    if (size.isEmpty())
        FailSavingPicture(FailureNumber::InvalidPicture, path, QStringLiteral("the picture is empty"));
    return std::make_unique<PngFile>(path, size);
}

void SavePNG(const Picture& picture, const QString& path, const StopFlag* stop)
{
    WritePictureRows(*StartPngFile(path, SizeToWrite(picture)), picture, stop);
}
