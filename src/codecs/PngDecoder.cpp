#include "codecs/PngDecoder.h"

#include "core/Failure.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <png.h>

namespace {

enum class Stop { None, Damaged, Truncated, ChunkTooLarge };

constexpr char TruncatedMessage[] = "the file ends early";

// The stream libpng reads: the file without the ancillary chunks the program does not need.
// It sees the signature, every critical chunk (IHDR, PLTE, IDAT, IEND, and any other, which it
// refuses) and the transparency; text, profiles, animation and every other ancillary chunk are
// passed over in the file, whatever their size, and never read.
class NeededChunks {
public:
    // `length` bytes of the stream into `data`; false when the file ends first.
    bool read(PictureInput& input, std::uint8_t* data, std::size_t length)
    {
        while (length > 0) {
            std::size_t part = 0;
            if (headerGiven_ < header_.size()) {
                part = std::min(length, header_.size() - headerGiven_);
                std::memcpy(data, header_.data() + headerGiven_, part);
                headerGiven_ += part;
            } else if (untilHeader_ > 0) {
                part = std::size_t(std::min<std::uint64_t>(length, untilHeader_));
                if (input.read(data, part) != part)
                    return false;
                untilHeader_ -= part;
            } else {
                if (!nextNeededChunk(input))
                    return false;
                continue;
            }
            data += part;
            length -= part;
        }
        return true;
    }

private:
    // Reads chunk headers, passing over the chunks not needed, up to one that is.
    bool nextNeededChunk(PictureInput& input)
    {
        if (input.read(header_.data(), header_.size()) != header_.size())
            return false;
        const std::uint64_t dataAndCrc = (std::uint64_t(header_[0]) << 24 | std::uint64_t(header_[1]) << 16
                                          | std::uint64_t(header_[2]) << 8 | header_[3]) + 4;
        const bool ancillary = (header_[4] & 0x20) != 0; // a lower-case first letter
        if (ancillary && std::memcmp(header_.data() + 4, "tRNS", 4) != 0)
            return input.skip(dataAndCrc);
        headerGiven_ = 0;
        untilHeader_ = dataAndCrc;
        return true;
    }

    std::array<std::uint8_t, 8> header_{}; // length and type of the chunk being passed on
    std::size_t headerGiven_ = 8;           // of its bytes handed on
    std::uint64_t untilHeader_ = 8;         // bytes up to the next chunk header: the signature first
};

// Everything one decoding owns. libpng reports errors by a long jump back into read(), so
// nothing with a destructor lives in the frames it jumps over: it all lives here.
struct PngDecoding {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const DecodeRequest* request = nullptr;
    Stop stop = Stop::None;
    std::string message;
    NeededChunks chunks;
    std::vector<std::uint32_t> rows;
    PictureDecoding picture;

    explicit PngDecoding(const DecodeRequest& r) : request(&r), picture(r) {}

    ~PngDecoding()
    {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

PngDecoding& decodingOf(png_structp png)
{
    return *static_cast<PngDecoding*>(png_get_error_ptr(png));
}

[[noreturn]] void stopWith(png_structp png, Stop stop)
{
    decodingOf(png).stop = stop;
    png_longjmp(png, 1);
}

void onError(png_structp png, png_const_charp message)
{
    decodingOf(png).message = message;
    stopWith(png, std::strcmp(message, TruncatedMessage) == 0 ? Stop::Truncated : Stop::Damaged);
}

// libpng only warns about a chunk longer than the limits allow, and would then read on.
void onWarning(png_structp png, png_const_charp message)
{
    if (std::strstr(message, "chunk data is too large"))
        stopWith(png, Stop::ChunkTooLarge);
}

void readBytes(png_structp png, png_bytep data, std::size_t length)
{
    PngDecoding& d = decodingOf(png);
    if (!d.chunks.read(d.request->input, data, length))
        png_error(png, TruncatedMessage);
}

bool read(PngDecoding& d)
{
    if (setjmp(png_jmpbuf(d.png)))
        return false;
    png_set_read_fn(d.png, nullptr, readBytes);
    png_set_chunk_malloc_max(d.png, MostPngChunkBytes);
    // The sides are checked once the header is read, with a message that says why.
    png_set_user_limits(d.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(d.png, d.info);

    const DecodeRequest& request = *d.request;
    const png_uint_32 width = png_get_image_width(d.png, d.info);
    const png_uint_32 height = png_get_image_height(d.png, d.info);
    RefuseOversizedPicture(request, width, height);
    if (std::max(width, height) > MostPngSidePixels)
        RefusePicture(request, FailureNumber::OutOfMemory,
                      QStringLiteral("at %1 x %2 pixels it has a side longer than the %3 pixels a PNG may have")
                          .arg(width)
                          .arg(height)
                          .arg(MostPngSidePixels));
    const std::size_t storedRowBytes = png_get_rowbytes(d.png, d.info);

    // Only a picture with an alpha channel or a transparent colour needs flattening onto white.
    const bool transparent = (png_get_color_type(d.png, d.info) & PNG_COLOR_MASK_ALPHA) != 0
                             || png_get_valid(d.png, d.info, PNG_INFO_tRNS) != 0;
    png_set_expand(d.png); // palette and grey below 8 bits to 8 bits, transparency to alpha
    png_set_scale_16(d.png);
    png_set_gray_to_rgb(d.png);
    png_set_bgr(d.png);
    png_set_filler(d.png, 0xff, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);
    // Every kind of PNG comes out as four bytes a pixel; the rows are made for nothing else.
    if (png_get_rowbytes(d.png, d.info) != std::size_t(width) * sizeof(std::uint32_t))
        png_error(d.png, "unexpected row size");

    // The passes of an interlaced picture fill in its rows over and over: it is held whole.
    // libpng holds a row as stored and one as it comes out besides.
    const std::size_t rowsHeld = passes > 1 ? height : 1;
    const std::size_t libpngBytes = storedRowBytes + std::size_t(width) * sizeof(std::uint32_t);
    // Throws from here, where no libpng frame lies below.
    d.picture.start(QSize(int(width), int(height)), 1, rowsHeld * width * sizeof(std::uint32_t) + libpngBytes);
    d.rows.resize(rowsHeld * width);
    const auto addRow = [&d, transparent](const std::uint32_t* row) {
        if (transparent)
            d.picture.addRowOntoWhite(row);
        else
            d.picture.addRow(row);
    };
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            std::uint32_t* row = &d.rows[(passes > 1 ? y : 0) * std::size_t(width)];
            png_read_row(d.png, reinterpret_cast<png_bytep>(row), nullptr);
            if (passes == 1)
                addRow(row);
        }
    }
    for (png_uint_32 y = 0; y < height && passes > 1; ++y)
        addRow(&d.rows[y * std::size_t(width)]);
    return true;
}

} // namespace

Picture DecodePng(const DecodeRequest& request)
{
    PngDecoding d(request);
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &d, onError, onWarning);
    if (d.png)
        d.info = png_create_info_struct(d.png);
    if (!d.info)
        RefusePicture(request, FailureNumber::OutOfMemory, QStringLiteral("there is not enough memory to decode it"));
    if (!read(d)) {
        switch (d.stop) {
        case Stop::Truncated:
            RefusePicture(request, FailureNumber::InvalidPicture, QString::fromLatin1(TruncatedCause));
        case Stop::ChunkTooLarge:
            RefusePicture(request, FailureNumber::InvalidPicture,
                          QStringLiteral("a chunk claims more than the %1 MiB a PNG chunk may hold, or more than its picture can have")
                              .arg(MostPngChunkBytes / (1024 * 1024)));
        default:
            RefusePicture(request, FailureNumber::InvalidPicture,
                          QStringLiteral("the PNG data is damaged (%1)").arg(QString::fromStdString(d.message)));
        }
    }
    return d.picture.finish();
}
