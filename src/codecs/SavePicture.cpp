#include "codecs/SavePicture.h"

#include "codecs/PictureFileWriting.h"
#include "core/Failure.h"
#include "platform/ReplacingFile.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr std::uint32_t HeadersBytes = 14 + 40;
constexpr std::uint32_t PixelsPerMetre = 2835; // 72 dots an inch

void putLittleEndian(std::uint8_t*& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        *out++ = std::uint8_t(value >> (8 * i) & 0xff);
}

std::uint64_t rowBytesOf(QSize size)
{
    return (std::uint64_t(size.width()) * 3 + 3) / 4 * 4;
}

class BmpFile final : public CheckedRowWriter {
public:
    BmpFile(const QString& path, QSize size, std::uint32_t dataBytes)
        : CheckedRowWriter(size.height()), path_(path), width_(size.width()), height_(size.height()),
          rowBytes_(std::size_t(rowBytesOf(size))), file_(path)
    {
        if (const std::optional<WriteError> error = file_.error())
            FailWritingPicture(path_, *error);
        std::uint8_t headers[HeadersBytes];
        std::uint8_t* out = headers;
        *out++ = 'B';
        *out++ = 'M';
        putLittleEndian(out, HeadersBytes + dataBytes, 4);
        putLittleEndian(out, 0, 4);
        putLittleEndian(out, HeadersBytes, 4);
        putLittleEndian(out, 40, 4);
        putLittleEndian(out, std::uint32_t(width_), 4);
        putLittleEndian(out, std::uint32_t(height_), 4);
        putLittleEndian(out, 1, 2);  // planes
        putLittleEndian(out, 24, 2); // bits a pixel
        putLittleEndian(out, 0, 4);  // uncompressed
        putLittleEndian(out, dataBytes, 4);
        putLittleEndian(out, PixelsPerMetre, 4);
        putLittleEndian(out, PixelsPerMetre, 4);
        putLittleEndian(out, 0, 4);
        putLittleEndian(out, 0, 4);
        if (!file_.append(headers, sizeof headers))
            FailWritingPicture(path_, *file_.error());
        // Rows come from the top and the file holds them from the bottom: a run of them is
        // gathered backwards and goes to its place at once. The padding stays zero.
        chunkRows_ = int(std::clamp<std::size_t>(ReplacingFile::BufferBytes / rowBytes_, 1, std::size_t(height_)));
        chunk_.assign(std::size_t(chunkRows_) * rowBytes_, 0);
    }

protected:
    void putRow(const std::uint32_t* row, int y) override
    {
        const int first = y / chunkRows_ * chunkRows_;
        const int last = std::min(first + chunkRows_, height_) - 1;
        std::uint8_t* out = chunk_.data() + std::size_t(last - y) * rowBytes_;
        for (int x = 0; x < width_; ++x) {
            *out++ = std::uint8_t(row[x] & 0xff);
            *out++ = std::uint8_t(row[x] >> 8 & 0xff);
            *out++ = std::uint8_t(row[x] >> 16 & 0xff);
        }
        if (y < last)
            return;
        // The bottom row of the picture is the first in the file.
        const std::uint64_t offset = HeadersBytes + std::uint64_t(height_ - 1 - last) * rowBytes_;
        if (!file_.writeAt(offset, chunk_.data(), std::size_t(last - first + 1) * rowBytes_))
            FailWritingPicture(path_, *file_.error());
    }

    void complete() override
    {
        if (!file_.commit())
            FailWritingPicture(path_, *file_.error());
    }

    void refuseRows(const QString& cause) const override { FailSavingPicture(FailureNumber::InvalidCall, path_, cause); }

private:
    QString path_;
    int width_;
    int height_;
    std::size_t rowBytes_;
    ReplacingFile file_;
    int chunkRows_ = 1;
    std::vector<std::uint8_t> chunk_;
};

} // namespace

std::unique_ptr<PictureRowWriter> StartBmpFile(const QString& path, QSize size)
{
    if (size.isEmpty())
        FailSavingPicture(FailureNumber::InvalidPicture, path, QStringLiteral("the picture is empty"));
    // The sizes in the header are 32 bits; the row bytes and the height are each below 2^33 and
    // 2^31, so their product fits in 64.
    const std::uint64_t dataBytes = rowBytesOf(size) * std::uint64_t(size.height());
    if (dataBytes > std::numeric_limits<std::uint32_t>::max() - HeadersBytes)
        FailSavingPicture(FailureNumber::InvalidCall, path,
                          QStringLiteral("a BMP file can hold at most 4 GiB, and a picture of %1 x %2 pixels needs more")
                              .arg(size.width())
                              .arg(size.height()));
    return std::make_unique<BmpFile>(path, size, std::uint32_t(dataBytes));
}

void SavePicture(const Picture& picture, const QString& path)
{
    WritePictureRows(*StartBmpFile(path, SizeToWrite(picture)), picture);
}
