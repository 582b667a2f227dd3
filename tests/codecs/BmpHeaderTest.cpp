#include "codecs/BmpHeader.h"

#include <gtest/gtest.h>

namespace {

QByteArray le(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * i) & 0xff);
    return out;
}

// The file header and a header of `headerBytes` for a 16 x 8 picture; what follows is
// appended by the caller.
QByteArray headers(quint32 dataOffset, quint32 headerBytes, int bits, quint32 compression, quint32 coloursUsed = 0)
{
    QByteArray info = le(headerBytes, 4) + le(16, 4) + le(8, 4) + le(1, 2) + le(bits, 2) + le(compression, 4)
                      + le(0, 4) + le(2835, 4) + le(2835, 4) + le(coloursUsed, 4) + le(0, 4);
    info = info.leftJustified(int(headerBytes), '\0');
    return "BM" + le(0, 4) + le(0, 4) + le(dataOffset, 4) + info;
}

QByteArray palette(int colours)
{
    QByteArray out;
    for (int i = 0; i < colours; ++i)
        out += le(0x010101u * quint32(i), 4);
    return out;
}

// Writers disagree on where the pixels start; the palette and the data offset are made to
// agree, so that no pixel byte is read as a colour nor a colour as pixels.
TEST(ReadBmpHeader, PaletteAndDataOffsetAgree)
{
    struct Case {
        const char* what;
        quint32 dataOffset;
        quint32 coloursUsed;
        int paletteSize;
        qint64 dataStart;
    };
    const Case cases[] = {
        {"the full palette", 14 + 40 + 1024, 0, 256, 14 + 40 + 1024},
        {"as many colours as it says", 14 + 40 + 16, 4, 4, 14 + 40 + 16},
        {"an offset inside the palette shortens it", 14 + 40 + 8, 0, 2, 14 + 40 + 8},
        {"an offset of 0 starts the data after the palette", 0, 0, 256, 14 + 40 + 1024},
    };
    for (const Case& c : cases) {
        const BmpHeader header = ReadBmpHeader(headers(c.dataOffset, 40, 8, 0, c.coloursUsed) + palette(256));
        EXPECT_EQ(header.palette.size(), c.paletteSize) << c.what;
        EXPECT_EQ(header.dataOffset, c.dataStart) << c.what;
        EXPECT_EQ(header.size, QSize(16, 8)) << c.what;
    }
}

// Bit-field masks follow a 40-byte header, and sit inside the larger ones; without bit
// fields, 16 bits a pixel are 5-5-5.
TEST(ReadBmpHeader, FindsTheColourMasks)
{
    using namespace BmpCompression;
    const std::array<std::uint32_t, 4> rgb565 = {0xf800, 0x07e0, 0x001f, 0};
    const QByteArray after = headers(14 + 40 + 12, 40, 16, BitFields) + le(0xf800, 4) + le(0x07e0, 4) + le(0x001f, 4);
    EXPECT_EQ(ReadBmpHeader(after).masks, rgb565);

    QByteArray inside = headers(14 + 124, 124, 32, BitFields);
    inside.replace(54, 16, le(0xff0000, 4) + le(0xff00, 4) + le(0xff, 4) + le(0xff000000, 4));
    EXPECT_EQ(ReadBmpHeader(inside).masks, (std::array<std::uint32_t, 4>{0xff0000, 0xff00, 0xff, 0xff000000}));

    EXPECT_EQ(ReadBmpHeader(headers(14 + 40, 40, 16, Rgb)).masks, (std::array<std::uint32_t, 4>{0x7c00, 0x03e0, 0x001f, 0}));
}

TEST(BmpFormatFault, NamesWhatTheProgramDoesNotRead)
{
    using namespace BmpCompression;
    EXPECT_EQ(BmpFormatFault(ReadBmpHeader(headers(54, 40, 24, Rgb))), "");
    EXPECT_EQ(BmpFormatFault(ReadBmpHeader(headers(54, 40, 24, 4))),
              "its 24 bits a pixel with compression 4 are not a kind of BMP the program reads");
    EXPECT_EQ(BmpFormatFault(ReadBmpHeader(headers(54, 40, 8, Rle4))),
              "its 8 bits a pixel with compression 2 are not a kind of BMP the program reads");
    EXPECT_EQ(BmpFormatFault(ReadBmpHeader(headers(54, 41, 24, Rgb))), "its header of 41 bytes is not one of a BMP the program reads");
}

} // namespace
