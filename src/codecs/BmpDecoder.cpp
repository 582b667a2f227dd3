#include "codecs/BmpDecoder.h"

#include "codecs/BmpHeader.h"
#include "core/Failure.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace {

using namespace BmpCompression;

// EXIF's "flipped top to bottom": how a picture stored from the bottom row up is turned upright.
constexpr int StoredBottomUp = 4;

[[noreturn]] void refuseTruncated(const DecodeRequest& request)
{
    RefusePicture(request, FailureNumber::InvalidPicture, QString::fromLatin1(BmpTruncatedCause));
}

// One colour channel of a masked pixel, scaled to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), bits_(std::countr_one(mask >> shift_))
    {
    }
    bool present() const { return mask_ != 0; }
    std::uint32_t operator()(std::uint32_t pixel) const
    {
        const std::uint32_t value = (pixel & mask_) >> shift_ & ((std::uint64_t(1) << bits_) - 1);
        if (bits_ >= 8)
            return value >> (bits_ - 8);
        const std::uint32_t most = (1u << bits_) - 1;
        return most ? (value * 255 + most / 2) / most : 0;
    }

private:
    std::uint32_t mask_;
    int shift_;
    int bits_;
};

// Turns stored rows into 0xAARRGGBB pixels.
class RowConverter {
public:
    explicit RowConverter(const BmpHeader& header)
        : bits_(header.bitsPerPixel), palette_(header.palette), red_(header.masks[0]), green_(header.masks[1]),
          blue_(header.masks[2]), alpha_(header.masks[3])
    {
        palette_.resize(256, 0xff000000u); // indices past the file's palette are black
    }
    bool transparent() const { return alpha_.present(); }

    void convert(const std::uint8_t* in, int width, std::uint32_t* out) const
    {
        switch (bits_) {
        case 1:
        case 4:
        case 8: {
            const int perByte = 8 / bits_;
            const unsigned mask = (1u << bits_) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bits_ * (x % perByte + 1);
                out[x] = palette_[(in[x / perByte] >> shift) & mask];
            }
            return;
        }
        case 24:
            for (int x = 0; x < width; ++x, in += 3)
                out[x] = 0xff000000u | std::uint32_t(in[2]) << 16 | std::uint32_t(in[1]) << 8 | in[0];
            return;
        default: {
            const int bytes = bits_ / 8;
            for (int x = 0; x < width; ++x, in += bytes) {
                const std::uint32_t p = bytes == 2 ? std::uint32_t(in[0] | in[1] << 8)
                                                   : std::uint32_t(in[0] | in[1] << 8 | in[2] << 16) | std::uint32_t(in[3]) << 24;
                const std::uint32_t a = alpha_.present() ? alpha_(p) : 0xff;
                out[x] = a << 24 | red_(p) << 16 | green_(p) << 8 | blue_(p);
            }
            return;
        }
        }
    }

    std::uint32_t colour(std::uint8_t index) const { return palette_[index]; }

private:
    int bits_;
    QList<std::uint32_t> palette_;
    Channel red_, green_, blue_, alpha_;
};

// Pixels for the reduction, a piece at a time, so that no row of the picture is ever held whole.
constexpr std::size_t PiecePixels = 4096; // a whole number of bytes at every bit depth

// Run-length data of 8 or 4 bits a pixel, decoded into pieces of rows, left to right and row
// after row, as the codes arrive. Pixels that a code skips or that no code reaches take the
// palette's first colour; what a run, a literal or a jump puts past the end of its row is
// dropped. The column never passes the row's end, however many codes a row holds.
class RunLengthRows {
public:
    RunLengthRows(PictureInput& input, const RowConverter& colours, int width, int height, bool fourBits,
                  PictureDecoding& picture)
        : in_(input), colours_(colours), picture_(picture), width_(std::size_t(width)), height_(height),
          fourBits_(fourBits), gap_(colours.colour(0))
    {
    }

    // False when the data ends before the picture.
    bool decode()
    {
        std::uint8_t count = 0, code = 0;
        while (y_ < height_) {
            if (!in_.next(count) || !in_.next(code))
                return false;
            if (count > 0) {
                const std::size_t inRow = std::min<std::size_t>(count, width_ - x_);
                const std::uint32_t high = colours_.colour(fourBits_ ? code >> 4 : code);
                const std::uint32_t low = colours_.colour(fourBits_ ? code & 0x0f : code);
                for (std::size_t i = 0; i < inRow; ++i)
                    put(i % 2 ? low : high);
            } else if (code == 0) {
                endRow();
            } else if (code == 1) {
                endRow();
                skipRows(height_ - y_);
            } else if (code == 2) {
                std::uint8_t dx = 0, dy = 0;
                if (!in_.next(dx) || !in_.next(dy))
                    return false;
                const std::size_t column = std::min<std::size_t>(x_ + dx, width_);
                if (dy > 0) {
                    endRow();
                    skipRows(std::min(dy - 1, height_ - y_));
                }
                if (y_ < height_)
                    skipTo(column);
            } else if (!literal(code)) {
                return false;
            }
        }
        return true;
    }

private:
    void put(std::uint32_t pixel)
    {
        if (x_ == width_)
            return;
        piece_[held_++] = pixel;
        ++x_;
        if (held_ == PiecePixels)
            hand();
    }

    void hand()
    {
        picture_.addPixels(piece_.data(), held_);
        held_ = 0;
    }

    // The pixels up to `column` take the palette's first colour.
    void skipTo(std::size_t column)
    {
        while (x_ < column)
            put(gap_);
    }

    // Whole rows that no code reaches, from the start of a row.
    void skipRows(int rows)
    {
        picture_.addRowsOf(gap_, std::size_t(rows));
        y_ += rows;
    }

    // `count` pixels as they stand, padded to a 16-bit boundary.
    bool literal(int count)
    {
        const int bytes = fourBits_ ? (count + 1) / 2 : count;
        std::uint8_t byte = 0;
        for (int i = 0; i < bytes; ++i) {
            if (!in_.next(byte))
                return false;
            if (fourBits_) {
                put(colours_.colour(byte >> 4));
                if (2 * i + 1 < count)
                    put(colours_.colour(byte & 0x0f));
            } else {
                put(colours_.colour(byte));
            }
        }
        return bytes % 2 == 0 || in_.next(byte);
    }

    void endRow()
    {
        skipTo(width_);
        hand();
        x_ = 0;
        ++y_;
    }

    PictureInput& in_;
    const RowConverter& colours_;
    PictureDecoding& picture_;
    std::size_t width_;
    int height_;
    bool fourBits_;
    std::uint32_t gap_;
    std::array<std::uint32_t, PiecePixels> piece_;
    std::size_t held_ = 0; // pixels in piece_
    std::size_t x_ = 0;    // at most width_
    int y_ = 0;
};

} // namespace

Picture DecodeBmp(const DecodeRequest& request)
{
    QByteArray head(BmpHeadBytes, Qt::Uninitialized);
    head.truncate(qsizetype(request.input.read(head.data(), std::size_t(head.size()))));
    const BmpHeader header = ReadBmpHeader(head);
    if (!header.size.isValid())
        RefusePicture(request, FailureNumber::InvalidPicture, QStringLiteral("its BMP headers are damaged"));
    RefuseOversizedPicture(request, header.size.width(), header.size.height());
    if (header.size.isEmpty())
        RefusePicture(request, FailureNumber::InvalidPicture, QStringLiteral("its BMP headers claim no pixels"));
    for (const QString& fault : {BmpFormatFault(header), BmpDataFault(header, request.fileSize())})
        if (!fault.isEmpty())
            RefusePicture(request, FailureNumber::InvalidPicture, fault);

    const int width = header.size.width();
    const int height = header.size.height();
    const bool runLength = header.compression == Rle8 || header.compression == Rle4;
    const qint64 rowBytes = (qint64(width) * header.bitsPerPixel + 31) / 32 * 4;
    const int orientation = header.topDown ? 1 : StoredBottomUp;
    PictureDecoding picture(request);
    const std::size_t pieceBytes = PiecePixels * std::size_t(header.bitsPerPixel) / 8;
    picture.start(header.size, orientation, (runLength ? 0 : pieceBytes) + PiecePixels * sizeof(std::uint32_t));
    if (!request.input.seek(header.dataOffset))
        refuseTruncated(request);

    const RowConverter converter(header);
    if (runLength) {
        RunLengthRows rows(request.input, converter, width, height, header.compression == Rle4, picture);
        if (!rows.decode())
            refuseTruncated(request);
        return picture.finish();
    }

    // Each row in pieces of whole bytes, then the padding to four bytes.
    const qint64 padding = rowBytes - (qint64(width) * header.bitsPerPixel + 7) / 8;
    std::vector<std::uint8_t> stored(pieceBytes);
    std::vector<std::uint32_t> pixels(PiecePixels);
    for (int y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < std::size_t(width); x += PiecePixels) {
            const std::size_t count = std::min(PiecePixels, std::size_t(width) - x);
            const std::size_t bytes = (count * std::size_t(header.bitsPerPixel) + 7) / 8;
            if (request.input.read(stored.data(), bytes) != bytes)
                refuseTruncated(request);
            converter.convert(stored.data(), int(count), pixels.data());
            if (converter.transparent())
                picture.addPixelsOntoWhite(pixels.data(), count);
            else
                picture.addPixels(pixels.data(), count);
        }
        if (!request.input.skip(std::uint64_t(padding)))
            refuseTruncated(request);
    }
    return picture.finish();
}
