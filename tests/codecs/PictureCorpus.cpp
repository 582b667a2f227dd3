#include "codecs/PictureCorpus.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QPoint>
#include <QTransform>

#include <turbojpeg.h>

#include <array>
#include <bit>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

#include <jpeglib.h>

namespace {

QByteArray le16(int value)
{
    const char bytes[2] = {char(value & 0xff), char((value >> 8) & 0xff)};
    return QByteArray(bytes, 2);
}

QByteArray le32(qint64 value)
{
    return le16(int(value & 0xffff)) + le16(int((value >> 16) & 0xffff));
}

QByteArray be16(int value)
{
    const char bytes[2] = {char((value >> 8) & 0xff), char(value & 0xff)};
    return QByteArray(bytes, 2);
}

QByteArray be32(qint64 value)
{
    return be16(int((value >> 16) & 0xffff)) + be16(int(value & 0xffff));
}

// The quarter a point of a w x h picture lies in: 0 top left, 1 top right, 2 bottom left,
// 3 bottom right.
int quarterOf(int x, int y, int w, int h)
{
    return (y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0);
}

constexpr std::array<QRgb, 4> QuarterColours = {CorpusRed, CorpusGreen, CorpusBlue, CorpusWhite};

const std::vector<ColourProbe> QuarterProbes = {
    {{0.25, 0.25}, CorpusRed}, {{0.75, 0.25}, CorpusGreen},
    {{0.25, 0.75}, CorpusBlue}, {{0.75, 0.75}, CorpusWhite}};

// --- BMP -------------------------------------------------------------------------------------

constexpr quint32 BiRgb = 0;
constexpr quint32 BiRle8 = 1;
constexpr quint32 BiRle4 = 2;
constexpr quint32 BiBitFields = 3;
constexpr quint32 BiJpeg = 4;

struct BmpLayout {
    int width;
    int height;        // as stored in the header: negative for a top-down file
    int bitsPerPixel;
    quint32 compression;
    std::vector<QRgb> palette;
    // Red, green, blue (and alpha) masks: after the 40-byte header, or inside a 124-byte one.
    std::vector<quint32> masks = {};
    bool version5Header = false;
};

QByteArray bmpFile(const BmpLayout& layout, const QByteArray& pixelData)
{
    QByteArray palette;
    for (const QRgb colour : layout.palette)
        palette += QByteArray(1, char(qBlue(colour))) + char(qGreen(colour)) + char(qRed(colour)) + '\0';
    QByteArray masks;
    for (const quint32 mask : layout.masks)
        masks += le32(mask);
    const int headerBytes = layout.version5Header ? 124 : 40;
    QByteArray header = le32(headerBytes) + le32(layout.width) + le32(layout.height) + le16(1) + le16(layout.bitsPerPixel)
                        + le32(layout.compression) + le32(pixelData.size()) + le32(2835) + le32(2835)
                        + le32(qint64(layout.palette.size())) + le32(0);
    if (layout.version5Header) {
        header += masks.leftJustified(16, '\0') + QByteArray("BGRs") + QByteArray(124 - 60, '\0');
        masks.clear();
    }
    const qint64 offset = 14 + header.size() + masks.size() + palette.size();
    return "BM" + le32(offset + pixelData.size()) + le32(0) + le32(offset) + header + masks + palette + pixelData;
}

// The same picture with the old 12-byte OS/2 header and its three-byte palette entries.
QByteArray os2BmpFile(const BmpLayout& layout, const QByteArray& pixelData)
{
    QByteArray palette;
    for (const QRgb colour : layout.palette)
        palette += QByteArray(1, char(qBlue(colour))) + char(qGreen(colour)) + char(qRed(colour));
    const qint64 offset = 14 + 12 + palette.size();
    return "BM" + le32(offset + pixelData.size()) + le32(0) + le32(offset) + le32(12) + le16(layout.width)
           + le16(layout.height) + le16(1) + le16(layout.bitsPerPixel) + palette + pixelData;
}

// Uncompressed rows, each padded to four bytes, bottom-up unless the height is negative.
// `sample` gives the palette index or the packed pixel at (x, y) of the upright picture.
QByteArray bmpRows(const BmpLayout& layout, const std::function<quint32(int, int)>& sample)
{
    const int height = std::abs(layout.height);
    const int rowBytes = (layout.width * layout.bitsPerPixel + 31) / 32 * 4;
    QByteArray data;
    for (int r = 0; r < height; ++r) {
        const int y = layout.height < 0 ? r : height - 1 - r;
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < layout.width; ++x) {
            const quint32 v = sample(x, y);
            switch (layout.bitsPerPixel) {
            case 1:
                row[x / 8] = char(row[x / 8] | (v << (7 - x % 8)));
                break;
            case 4:
                row[x / 2] = char(row[x / 2] | (v << (x % 2 ? 0 : 4)));
                break;
            case 8:
                row[x] = char(v);
                break;
            case 16:
                row.replace(x * 2, 2, le16(int(v)));
                break;
            default: // 24 and 32: blue, green, red (and alpha, given as the top byte, or 0)
                for (int b = 0; b < layout.bitsPerPixel / 8; ++b)
                    row[x * layout.bitsPerPixel / 8 + b] = char((v >> (8 * b)) & 0xff);
            }
        }
        data += row;
    }
    return data;
}

// Run-length rows of a quartered picture: each half row is one run of its palette index.
QByteArray bmpRunLengthRows(const BmpLayout& layout)
{
    QByteArray data;
    for (int r = 0; r < layout.height; ++r) {
        const int y = layout.height - 1 - r;
        for (int half = 0; half < 2; ++half) {
            const int index = 1 + quarterOf(half * layout.width / 2, y, layout.width, layout.height);
            const int value = layout.compression == BiRle4 ? (index << 4 | index) : index;
            data += char(layout.width / 2);
            data += char(value);
        }
        data += QByteArray("\0\0", 2); // end of line
    }
    return data + QByteArray("\0\1", 2); // end of bitmap
}

std::vector<QRgb> quarterPalette(int entries)
{
    std::vector<QRgb> palette(static_cast<std::size_t>(entries), 0xff000000);
    for (int i = 0; i < 4; ++i)
        palette[static_cast<std::size_t>(i) + 1] = QuarterColours[static_cast<std::size_t>(i)];
    return palette;
}

CorpusPicture quarteredBmp(const QString& name, int bitsPerPixel, quint32 compression, bool topDown)
{
    constexpr int W = 40, H = 30;
    BmpLayout layout{W, topDown ? -H : H, bitsPerPixel, compression, {}};
    std::function<quint32(int, int)> sample;
    std::vector<ColourProbe> probes = QuarterProbes;
    if (bitsPerPixel == 1) {
        // Two colours: black and white quarters, alternating like a chessboard.
        layout.palette = {0xff000000, CorpusWhite};
        sample = [](int x, int y) { return quint32(quarterOf(x, y, W, H) == 1 || quarterOf(x, y, W, H) == 2); };
        probes = {{{0.25, 0.25}, 0xff000000}, {{0.75, 0.25}, CorpusWhite},
                  {{0.25, 0.75}, CorpusWhite}, {{0.75, 0.75}, 0xff000000}};
    } else if (bitsPerPixel <= 8) {
        layout.palette = quarterPalette(1 << bitsPerPixel);
        sample = [](int x, int y) { return quint32(1 + quarterOf(x, y, W, H)); };
    } else if (bitsPerPixel == 16) {
        static constexpr std::array<quint32, 4> Packed555 = {0x7c00, 0x03e0, 0x001f, 0x7fff};
        sample = [](int x, int y) { return Packed555[static_cast<std::size_t>(quarterOf(x, y, W, H))]; };
    } else {
        sample = [](int x, int y) { return quint32(QuarterColours[static_cast<std::size_t>(quarterOf(x, y, W, H))] & 0xffffff); };
    }
    const QByteArray pixels = compression == BiRgb ? bmpRows(layout, sample) : bmpRunLengthRows(layout);
    return {name, bmpFile(layout, pixels), QSize(W, H), probes, {}};
}

// 16-bit 5-6-5 pixels through bit fields after the header.
CorpusPicture bitFieldsBmp()
{
    constexpr int W = 40, H = 30;
    static constexpr std::array<quint32, 4> Packed565 = {0xf800, 0x07e0, 0x001f, 0xffff};
    const BmpLayout layout{W, H, 16, BiBitFields, {}, {0xf800, 0x07e0, 0x001f}};
    const QByteArray pixels = bmpRows(layout, [](int x, int y) { return Packed565[static_cast<std::size_t>(quarterOf(x, y, W, H))]; });
    return {"565.bmp", bmpFile(layout, pixels), QSize(W, H), QuarterProbes, {}};
}

// 32 bits with an alpha mask in a version 5 header: the see-through left half shows white.
CorpusPicture alphaBmp()
{
    constexpr int W = 40, H = 30;
    const BmpLayout layout{W, H, 32, BiBitFields, {}, {0xff0000, 0xff00, 0xff, 0xff000000}, true};
    const QByteArray pixels = bmpRows(layout, [](int x, int y) {
        return quint32(QuarterColours[static_cast<std::size_t>(quarterOf(x, y, W, H))] & 0xffffff) | (x < W / 2 ? 0 : 0xff000000u);
    });
    return {"alpha.bmp", bmpFile(layout, pixels), QSize(W, H),
            {{{0.25, 0.25}, CorpusWhite}, {{0.75, 0.25}, CorpusGreen}, {{0.25, 0.75}, CorpusWhite}, {{0.75, 0.75}, CorpusWhite}},
            {}};
}

CorpusPicture os2Bmp()
{
    constexpr int W = 40, H = 30;
    const BmpLayout layout{W, H, 8, BiRgb, quarterPalette(256)};
    const QByteArray pixels = bmpRows(layout, [](int x, int y) { return quint32(1 + quarterOf(x, y, W, H)); });
    return {"os2.bmp", os2BmpFile(layout, pixels), QSize(W, H), QuarterProbes, {}};
}

// Run-length rows that jump over the right half and end the bitmap half way up: what no code
// reaches takes the palette's first colour, black.
CorpusPicture runLengthGapsBmp()
{
    constexpr int W = 40, H = 30;
    QByteArray data;
    for (int r = 0; r < H / 2; ++r)
        data += char(W / 2) + QByteArray(1, '\3') + QByteArray("\0\2", 2) + char(W / 2) + QByteArray("\0\0\0", 3);
    data += QByteArray("\0\1", 2);
    return {"rle-gaps.bmp", bmpFile({W, H, 8, BiRle8, quarterPalette(256)}, data), QSize(W, H),
            {{{0.25, 0.25}, 0xff000000}, {{0.75, 0.25}, 0xff000000}, {{0.25, 0.75}, CorpusBlue}, {{0.75, 0.75}, 0xff000000}},
            {}};
}

// --- GIF -------------------------------------------------------------------------------------

// LZW data that any decoder reads back: codes one bit wider than the indices, literals only,
// with a clear code before the code table could grow a bit wider.
QByteArray gifLzw(const QByteArray& indices, int indexBits)
{
    const int clear = 1 << indexBits, end = clear + 1, codeBits = indexBits + 1;
    const int literalsPerClear = clear - 2;
    QByteArray out;
    quint32 bits = 0;
    int bitCount = 0;
    auto put = [&](int code) {
        bits |= quint32(code) << bitCount;
        bitCount += codeBits;
        while (bitCount >= 8) {
            out += char(bits & 0xff);
            bits >>= 8;
            bitCount -= 8;
        }
    };
    for (int i = 0; i < indices.size(); ++i) {
        if (i % literalsPerClear == 0)
            put(clear);
        put(static_cast<unsigned char>(indices[i]));
    }
    put(end);
    if (bitCount > 0)
        out += char(bits & 0xff);
    return out;
}

QByteArray gifSubBlocks(const QByteArray& data)
{
    QByteArray out;
    for (int at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out += char(block.size()) + block;
    }
    return out + '\0';
}

struct GifFrame {
    QSize size;
    QByteArray indices; // row after row, top to bottom
    int transparentIndex = -1;
    QPoint offset = {};
    bool interlaced = false;
};

// The rows in the order of the four passes of an interlaced GIF.
QByteArray interlacedRows(const QByteArray& indices, QSize size)
{
    QByteArray out;
    for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
        for (int y = start; y < size.height(); y += step)
            out += indices.mid(qsizetype(y) * size.width(), size.width());
    return out;
}

// A GIF whose global palette has 2 ^ paletteBits colours: black, then the quarter colours from
// 1 on, then black.
QByteArray gifFile(QSize screen, const std::vector<GifFrame>& frames, bool loop, int paletteBits = 8)
{
    QByteArray file = "GIF89a" + le16(screen.width()) + le16(screen.height());
    file += char(0xf0 | (paletteBits - 1));
    file += QByteArray("\0\0", 2);
    const std::vector<QRgb> palette = quarterPalette(256);
    for (int i = 0; i < 1 << paletteBits; ++i) {
        const QRgb colour = palette[static_cast<std::size_t>(i)];
        file += QByteArray(1, char(qRed(colour))) + char(qGreen(colour)) + char(qBlue(colour));
    }
    if (loop)
        file += QByteArray("\x21\xff\x0bNETSCAPE2.0\x03\x01\0\0\0", 19);
    const int indexBits = std::max(2, paletteBits);
    for (const GifFrame& frame : frames) {
        const bool transparent = frame.transparentIndex >= 0;
        file += QByteArray("\x21\xf9\x04", 3) + char(transparent ? 0x09 : 0x08) + le16(10)
                + char(transparent ? frame.transparentIndex : 0) + '\0';
        file += ',' + le16(frame.offset.x()) + le16(frame.offset.y()) + le16(frame.size.width())
                + le16(frame.size.height()) + char(frame.interlaced ? 0x40 : 0);
        const QByteArray& rows = frame.interlaced ? interlacedRows(frame.indices, frame.size) : frame.indices;
        file += char(indexBits) + gifSubBlocks(gifLzw(rows, indexBits));
    }
    return file + ';';
}

QByteArray quarterIndices(QSize size, const std::function<int(int)>& indexOfQuarter)
{
    QByteArray indices;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            indices += char(indexOfQuarter(quarterOf(x, y, size.width(), size.height())));
    return indices;
}

// --- JPEG ------------------------------------------------------------------------------------

// TurboJPEG writes the CMYK pixels as an Adobe YCCK file, as photo software does for print.
QByteArray cmykJpeg(QSize size)
{
    QByteArray cmyk;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QRgb rgb = QuarterColours[static_cast<std::size_t>(quarterOf(x, y, size.width(), size.height()))];
            // Stored inverted, as Adobe's CMYK JPEGs are: 255 means no ink.
            cmyk += QByteArray(1, char(qRed(rgb))) + char(qGreen(rgb)) + char(qBlue(rgb)) + char(255);
        }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    tjCompress2(handle, reinterpret_cast<const unsigned char*>(cmyk.constData()), size.width(), 0,
                size.height(), TJPF_CMYK, &jpeg, &jpegSize, TJSAMP_444, 95, 0);
    QByteArray out(reinterpret_cast<const char*>(jpeg), static_cast<qsizetype>(jpegSize));
    tjFree(jpeg);
    tjDestroy(handle);
    return out;
}

QByteArray encodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

// The image in another format, converted a row at a time: Qt Gui converts a large image on
// its own thread pool, which the thread checker cannot follow.
QImage convertedByRows(const QImage& image, QImage::Format format)
{
    QImage converted(image.size(), format);
    for (int y = 0; y < image.height(); ++y) {
        const QImage row = image.copy(0, y, image.width(), 1).convertToFormat(format);
        std::memcpy(converted.scanLine(y), row.constScanLine(0), std::size_t(row.bytesPerLine()));
    }
    return converted;
}

QImage greyQuarters(QSize size)
{
    return convertedByRows(QuarteredImage(size), QImage::Format_Grayscale8);
}

// The grey of each quarter as it was written.
std::vector<ColourProbe> greyProbes(const QImage& grey)
{
    std::vector<ColourProbe> probes;
    for (const ColourProbe& p : QuarterProbes)
        probes.push_back({p.at, grey.pixel(int(p.at.x() * grey.width()), int(p.at.y() * grey.height()))});
    return probes;
}


// --- hostile files ---------------------------------------------------------------------------

// The segments of a JPEG up to its first scan header, and that scan header itself.
struct JpegParts {
    QByteArray headers;
    QByteArray firstScanHeader;
};

JpegParts splitAtFirstScan(const QByteArray& jpeg)
{
    int at = 2;
    while (at + 4 <= jpeg.size()) {
        const int marker = static_cast<unsigned char>(jpeg[at + 1]);
        const int length = static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]);
        if (marker == 0xda)
            return {jpeg.left(at), jpeg.mid(at, 2 + length)};
        at += 2 + length;
    }
    return {};
}

// A progressive JPEG whose frame header claims a picture of w x h and which holds its
// headers and one scan header, but no scan data.
QByteArray progressiveClaimWithoutData(int w, int h)
{
    JpegParts parts = splitAtFirstScan(EncodeJpeg(QuarteredImage(QSize(16, 16)), 95, true));
    const int frame = int(parts.headers.indexOf("\xff\xc2"));
    parts.headers.replace(frame + 5, 4, be16(h) + be16(w));
    return parts.headers + parts.firstScanHeader + "\xff\xd9";
}

// The JPEG with the byte at `offset` of its frame header (the SOF segment, from its marker)
// set to `value`.
QByteArray withFrameByte(const QByteArray& jpeg, int offset, char value)
{
    QByteArray out = jpeg;
    int at = 2;
    while (at + 4 <= out.size()) {
        const int marker = static_cast<unsigned char>(out[at + 1]);
        const int length = static_cast<unsigned char>(out[at + 2]) << 8 | static_cast<unsigned char>(out[at + 3]);
        if (marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc) {
            out[at + offset] = value;
            return out;
        }
        at += 2 + length;
    }
    return out;
}

// A progressive JPEG whose first scan header is repeated `scans` times, each scan empty.
QByteArray repeatedFirstScan(const QByteArray& progressive, int scans)
{
    const JpegParts parts = splitAtFirstScan(progressive);
    return parts.headers + parts.firstScanHeader.repeated(scans) + "\xff\xd9";
}

// The JPEG with `count` copies of a segment in front of its other segments.
QByteArray withSegments(const QByteArray& jpeg, const QByteArray& segment, int count)
{
    return jpeg.left(2) + segment.repeated(count) + jpeg.mid(2);
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xedb88320u : crc >> 1;
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    return be32(data.size()) + type + data + be32(crc32(type + data));
}

// The PNG with `bytes` right after its header chunk.
QByteArray afterHeader(const QByteArray& png, const QByteArray& bytes)
{
    constexpr int AfterHeader = 8 + 25;
    return png.left(AfterHeader) + bytes + png.mid(AfterHeader);
}

// The PNG with a chunk after its header that claims `length` bytes and holds none of them.
QByteArray withChunkClaim(const QByteArray& png, const QByteArray& type, quint32 length)
{
    return afterHeader(png, be32(length) + type);
}

// An Adam7-interlaced 8-bit RGB PNG of the quartered picture, made by hand: Qt writes none.
QByteArray interlacedPng(QSize size)
{
    struct Pass {
        int x0, y0, dx, dy;
    };
    static constexpr Pass Passes[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    const QImage image = QuarteredImage(size);
    QByteArray raw;
    for (const Pass& pass : Passes) {
        for (int y = pass.y0; y < size.height(); y += pass.dy) {
            if (pass.x0 >= size.width())
                continue;
            raw += '\0'; // no filter
            for (int x = pass.x0; x < size.width(); x += pass.dx) {
                const QRgb p = image.pixel(x, y);
                raw += QByteArray(1, char(qRed(p))) + char(qGreen(p)) + char(qBlue(p));
            }
        }
    }
    const QByteArray header = be32(size.width()) + be32(size.height()) + QByteArray("\x08\x02\x00\x00\x01", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", qCompress(raw).mid(4))
           + pngChunk("IEND", {});
}

QByteArray sixteenBitPng(QSize size)
{
    QImage image = QuarteredImage(size).convertToFormat(QImage::Format_RGBA64);
    image.setPixelColor(0, 0, QColor(255, 0, 0, 0)); // one transparent pixel keeps the alpha
    return encodePng(image);
}

QByteArray transparentPalettePng(QSize size)
{
    QImage image(size, QImage::Format_Indexed8);
    image.setColorTable({qRgba(0, 0, 0, 0), CorpusRed, CorpusGreen, CorpusBlue, CorpusWhite});
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int q = quarterOf(x, y, size.width(), size.height());
            image.setPixel(x, y, q == 0 ? 0 : uint(1 + q));
        }
    return encodePng(image);
}

// A run-length BMP that claims w x h pixels and holds one run and the end of the bitmap.
QByteArray runLengthBomb(int w, int h)
{
    const BmpLayout layout{w, h, 8, BiRle8, quarterPalette(256)};
    return bmpFile(layout, QByteArray("\xff\x01\0\0", 4).repeated(100) + QByteArray("\0\1", 2));
}

// A run-length line of `length` pixels: across, one row of runs of colour 1 (red); down, one
// column made by jumps of 255 rows, whose pixels take the palette's first colour (black).
QByteArray runLengthLine(int length, bool down)
{
    const QByteArray step = down ? QByteArray("\0\2\0\xff", 4) : QByteArray("\xff\x01", 2);
    return RunLengthBmp(down ? QSize(1, length) : QSize(length, 1), false,
                        step.repeated(length / 255 + 1) + QByteArray("\0\1", 2));
}

// A 16 x 16 run-length BMP whose bottom row is red, followed by `runs` more runs of 255 green
// pixels on that row, all past its end.
QByteArray runsPastTheRow(qsizetype runs)
{
    return RunLengthBmp(QSize(16, 16), false,
                        QByteArray("\x10\x01", 2) + QByteArray("\xff\x02", 2).repeated(runs) + QByteArray("\0\1", 2));
}

const std::vector<ColourProbe> BottomRowRed = {{{0.5, 0.5}, 0xff000000}, {{0.5, 0.99}, CorpusRed}};

// A grey PNG of one level and any size, made by hand so that lines of millions of pixels are
// cheap to make; its data holds `rows` of its rows, all of them unless told.
QByteArray greyPng(QSize size, int grey, int rows = -1)
{
    QByteArray row(1 + size.width(), char(grey));
    row[0] = '\0'; // no filter
    const QByteArray header = be32(size.width()) + be32(size.height()) + QByteArray("\x08\0\0\0\0", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header)
           + pngChunk("IDAT", qCompress(row.repeated(rows < 0 ? size.height() : rows)).mid(4)) + pngChunk("IEND", {});
}

// The PNG with a chunk of `bytes` bytes of text right after its header.
QByteArray withTextChunk(const QByteArray& png, qsizetype bytes)
{
    return afterHeader(png, pngChunk("tEXt", QByteArray("Comment\0", 8) + QByteArray(bytes - 8, 'x')));
}

// A JPEG in arithmetic coding, which TurboJPEG does not write: through libjpeg itself.
QByteArray arithmeticJpeg(const QImage& image, bool progressive)
{
    const QImage rgb = convertedByRows(image, QImage::Format_RGB32);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 4;
    info.in_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    info.arith_code = TRUE;
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

QImage solidImage(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

QImage QuarteredImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, QuarterColours[static_cast<std::size_t>(quarterOf(x, y, size.width(), size.height()))]);
    return image;
}

QByteArray EncodeJpeg(const QImage& image, int quality, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QByteArray OneBitBmp(QSize size, bool pixelData)
{
    const BmpLayout layout{size.width(), size.height(), 1, BiRgb, {0xff000000, CorpusWhite}};
    const qsizetype dataSize = pixelData ? qsizetype((size.width() + 31) / 32 * 4) * size.height() : 0;
    return bmpFile(layout, QByteArray(dataSize, '\0'));
}

QByteArray RunLengthBmp(QSize size, bool fourBits, const QByteArray& runLengthData)
{
    const BmpLayout layout{size.width(), size.height(), fourBits ? 4 : 8, fourBits ? BiRle4 : BiRle8, quarterPalette(fourBits ? 16 : 256)};
    return bmpFile(layout, runLengthData);
}

QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation)
{
    const QByteArray ifd = be16(1) + be16(0x0112) + be16(3) + be32(1) + be16(orientation) + be16(0) + be32(0);
    const QByteArray payload = QByteArray("Exif\0\0MM\0\x2a\0\0\0\x08", 14) + ifd;
    return jpeg.left(2) + "\xff\xe1" + be16(int(payload.size()) + 2) + payload + jpeg.mid(2);
}

std::vector<ColourProbe> UprightQuarterProbes(int orientation)
{
    // The stored quarter that each upright quarter shows (0 top left, 1 top right,
    // 2 bottom left, 3 bottom right), from the EXIF definitions of the eight orientations.
    static constexpr std::array<std::array<int, 4>, 8> Shown = {{
        {0, 1, 2, 3}, // 1 as stored
        {1, 0, 3, 2}, // 2 mirrored left to right
        {3, 2, 1, 0}, // 3 turned half round
        {2, 3, 0, 1}, // 4 mirrored top to bottom
        {0, 2, 1, 3}, // 5 mirrored along the main diagonal
        {2, 0, 3, 1}, // 6 turned a quarter clockwise
        {3, 1, 2, 0}, // 7 mirrored along the other diagonal
        {1, 3, 0, 2}, // 8 turned a quarter anticlockwise
    }};
    std::vector<ColourProbe> probes = QuarterProbes;
    for (std::size_t i = 0; i < 4; ++i)
        probes[i].colour = QuarterColours[static_cast<std::size_t>(Shown[static_cast<std::size_t>(orientation - 1)][i])];
    return probes;
}

std::vector<CorpusPicture> BadAndUnusualPictures()
{
    const QSize small(96, 64);
    const QByteArray jpeg = EncodeJpeg(QuarteredImage(small));
    const QByteArray bigJpeg = EncodeJpeg(QuarteredImage(QSize(800, 600)));
    const QByteArray progressiveBig = EncodeJpeg(QuarteredImage(QSize(800, 600)), 90, true);
    const QByteArray progressive = EncodeJpeg(QuarteredImage(small), 95, true);
    const QByteArray arithmeticBig = arithmeticJpeg(QuarteredImage(QSize(800, 600)), false);
    const QImage flat = solidImage(QSize(4000, 3000), 0xff3060a0);
    const QByteArray bmp24 = quarteredBmp("", 24, BiRgb, false).bytes;
    const QByteArray rle8 = quarteredBmp("", 8, BiRle8, false).bytes;
    const QSize odd(37, 23);
    const QByteArray gif = gifFile(QSize(200, 150), {{QSize(200, 150), quarterIndices(QSize(200, 150), [](int q) { return 1 + q; })}}, false);

    std::vector<CorpusPicture> corpus = {
        {"empty.jpg", {}, {}, {}, "the file is empty"},
        {"text.jpg", "This is a note to myself, not a picture.\n", {}, {}, "not a BMP, GIF, JPEG or PNG picture"},
        {"png-named.jpg", encodePng(QuarteredImage(small)), small, QuarterProbes, {}},
        {"truncated.jpg", bigJpeg.left(bigJpeg.size() * 2 / 5), {}, {}, "truncated"},
        {"only-header.jpg", jpeg.left(20), {}, {}, "truncated"},
        {"progressive.jpg", progressive, small, QuarterProbes, {}},
        {"grey.jpg", EncodeJpeg(greyQuarters(small)), small, greyProbes(greyQuarters(small)), {}},
        {"cmyk.jpg", cmykJpeg(small), small, QuarterProbes, {}},
        {"huge.bmp", bmpFile({65535, 65535, 24, BiRgb, {}}, QByteArray(64, '\x7f')), {}, {}, "65535 x 65535"},
        {"huge.gif", gifFile({65535, 65535}, {{{65535, 65535}, QByteArray(64, '\1')}}, false), {}, {}, "65535 x 65535"},
        quarteredBmp("1-bit.bmp", 1, BiRgb, false),
        quarteredBmp("4-bit.bmp", 4, BiRgb, false),
        quarteredBmp("8-bit.bmp", 8, BiRgb, false),
        quarteredBmp("16-bit.bmp", 16, BiRgb, false),
        quarteredBmp("24-bit.bmp", 24, BiRgb, false),
        quarteredBmp("32-bit.bmp", 32, BiRgb, false),
        quarteredBmp("rle4.bmp", 4, BiRle4, false),
        quarteredBmp("rle8.bmp", 8, BiRle8, false),
        quarteredBmp("top-down.bmp", 24, BiRgb, true),
        quarteredBmp("picture.dib", 24, BiRgb, false),
        bitFieldsBmp(),
        alphaBmp(),
        os2Bmp(),
        runLengthGapsBmp(),
        {"rle-cut-short.bmp", rle8.chopped(40), {}, {}, "truncated"},
        {"unknown-header.bmp", bmp24.left(14) + le32(0x89504e47) + bmp24.mid(18), {}, {}, "its header of 2303741511 bytes is not"},
        {"jpeg-inside.bmp", bmpFile({40, 30, 24, BiJpeg, {}}, EncodeJpeg(QuarteredImage(QSize(40, 30)))), {}, {},
         "not a kind of BMP the program reads"},
        {"interlaced.gif", gifFile(odd, {{odd, quarterIndices(odd, [](int q) { return 1 + q; }), -1, {}, true}}, false),
         odd, QuarterProbes, {}},
        // A frame over the top right quarter only: the rest of the screen shows white.
        {"offset-frame.gif", gifFile(small, {{QSize(48, 32), QByteArray(48 * 32, '\2'), -1, QPoint(48, 0)}}, false), small,
         {{{0.25, 0.25}, CorpusWhite}, {{0.75, 0.25}, CorpusGreen}, {{0.25, 0.75}, CorpusWhite}, {{0.75, 0.75}, CorpusWhite}},
         {}},
        {"truncated.gif", gif.left(gif.size() / 2), {}, {}, "truncated"},
        // A frame of 16 x 16 on a screen of 1920 x 1080, in a couple of hundred bytes: the rest of
        // the screen is white.
        {"small-frame-big-screen.gif", gifFile(QSize(1920, 1080), {{QSize(16, 16), QByteArray(16 * 16, '\1')}}, false, 1),
         QSize(729, 425), {{{0.003, 0.005}, CorpusRed}, {{0.5, 0.5}, CorpusWhite}}, {}},
        {"animated.gif",
         gifFile(small, {{small, quarterIndices(small, [](int q) { return 1 + q; })},
                         {small, QByteArray(small.width() * small.height(), '\3')}}, true),
         small, QuarterProbes, {}},
        // The left half is the transparent colour: it shows as white.
        {"transparent.gif",
         gifFile(small, {{small, quarterIndices(small, [](int q) { return q % 2 == 0 ? 0 : 1 + q; }), 0}}, false),
         small,
         {{{0.25, 0.25}, CorpusWhite}, {{0.75, 0.25}, CorpusGreen},
          {{0.25, 0.75}, CorpusWhite}, {{0.75, 0.75}, CorpusWhite}},
         {}},
        {"a folder.jpg/", {}, {}, {}, "it is a folder"},
        // Hostile files: each is refused at once with the limit it breaks, or loads as it is.
        {"progressive-claim.jpg", progressiveClaimWithoutData(11000, 11000), {}, {}, "too few for a picture of 11000 x 11000 pixels"},
        {"empty-scans.jpg", repeatedFirstScan(EncodeJpeg(greyQuarters(QSize(2048, 2048)), 95, true), 3000), {}, {}, "ask for more work than its"},
        {"many-scans.jpg", repeatedFirstScan(EncodeJpeg(greyQuarters(QSize(8, 8)), 95, true), 600), {}, {}, "more than the 500 scans a JPEG may have"},
        {"comment-flood.jpg", withSegments(jpeg, QByteArray("\xff\xfe\0\x04..", 6), 20000), small, QuarterProbes, {}},
        {"app1-flood.jpg", withSegments(jpeg, QByteArray("\xff\xe1\0\x08XMP\0..", 10), 20000), small, QuarterProbes, {}},
        {"progressive-truncated.jpg", progressiveBig.left(progressiveBig.size() / 2), {}, {}, "truncated"},
        // Every scan complete, only the end marker missing: shown, as other viewers do.
        {"no-end-marker.jpg", jpeg.chopped(2), small, QuarterProbes, {}},
        {"progressive-no-end-marker.jpg", progressive.chopped(2), small, QuarterProbes, {}},
        // Arithmetic coding makes a picture of one colour from a few hundred bytes.
        {"arithmetic.jpg", arithmeticJpeg(flat, false), QSize(729, 425), {{{0.5, 0.5}, 0xff3060a0}}, {}},
        {"arithmetic-progressive-flat.jpg", arithmeticJpeg(flat, true), QSize(729, 425), {{{0.5, 0.5}, 0xff3060a0}}, {}},
        {"arithmetic-progressive.jpg", arithmeticJpeg(QuarteredImage(small), true), small, QuarterProbes, {}},
        {"arithmetic-truncated.jpg", arithmeticBig.left(arithmeticBig.size() * 2 / 5), {}, {}, "truncated"},
        {"arithmetic-empty-scans.jpg", repeatedFirstScan(arithmeticJpeg(greyQuarters(QSize(2048, 2048)), true), 499), {}, {},
         "passes over its blocks in arithmetic coding"},
        // Kinds of JPEG the program does not read: said so, and which kind.
        {"12-bit.jpg", withFrameByte(jpeg, 4, 12), {}, {}, "its 12-bit samples are not a kind of JPEG the program reads"},
        {"lossless.jpg", withFrameByte(jpeg, 1, '\xc3'), {}, {}, "its lossless coding is not a kind of JPEG the program reads"},
        {"hierarchical.jpg", withFrameByte(jpeg, 1, '\xc5'), {}, {},
         "its hierarchical coding is not a kind of JPEG the program reads"},
        {"dnl-height.jpg", withFrameByte(withFrameByte(jpeg, 5, 0), 6, 0), {}, {},
         "its height given after the picture data (in a DNL marker) is not a kind of JPEG the program reads"},
        {"trailing-data.jpg", jpeg + QByteArray(100, '\x55'), small, QuarterProbes, {}},
        // A chunk the program does not need is passed over whatever its size: this one ends past
        // the end of the file. One the program needs may not claim more than it can use.
        {"chunk-claim.png", withChunkClaim(encodePng(QuarteredImage(small)), "zzZz", 0x7ffffff0u), {}, {}, "truncated"},
        {"idat-claim.png", withChunkClaim(encodePng(QuarteredImage(small)), "IDAT", 0x7ffffff0u), {}, {}, "a chunk claims more than"},
        // Lines longer than libpng reads unless told; one longer than a PNG may have.
        {"png-tall-line.png", greyPng(QSize(1, 2'000'000), 0x80), QSize(1, 425), {{{0.5, 0.5}, 0xff808080}}, {}},
        {"png-too-tall.png", greyPng(QSize(1, 10'000'001), 0x80, 1), {}, {}, "a side longer than the 10000000 pixels a PNG may have"},
        {"text-chunk-9-mib.png", withTextChunk(encodePng(QuarteredImage(small)), 9 * 1024 * 1024), small, QuarterProbes, {}},
        {"unknown-critical-chunk.png", afterHeader(encodePng(QuarteredImage(small)), pngChunk("ZZZZ", "what this means is unknown")),
         {}, {}, "the PNG data is damaged"},
        {"truncated.png", encodePng(QuarteredImage(QSize(400, 300))).chopped(200), {}, {}, "truncated"},
        {"16-bit.png", sixteenBitPng(small), small, QuarterProbes, {}},
        {"interlaced.png", interlacedPng(QSize(37, 23)), QSize(37, 23), QuarterProbes, {}},
        {"transparent-palette.png", transparentPalettePng(small), small,
         {{{0.25, 0.25}, CorpusWhite}, {{0.75, 0.25}, CorpusGreen}, {{0.25, 0.75}, CorpusBlue}, {{0.75, 0.75}, CorpusWhite}}, {}},
        {"rle-bomb.bmp", runLengthBomb(8000, 8000), {}, {}, "run-length data cannot make 8000 x 8000 pixels"},
        // Lines far longer than the canvas: shrunk in whole boxes as they arrive, then filtered.
        {"endless-line.bmp", runLengthLine(50'000'000, false), QSize(729, 1), {{{0.5, 0.5}, CorpusRed}}, {}},
        {"rle-tall-line.bmp", runLengthLine(4'000'000, true), QSize(1, 425), {{{0.5, 0.5}, 0xff000000}}, {}},
        {"rle-long-row.bmp", runsPastTheRow(2'000'000), QSize(16, 16), BottomRowRed, {}},
        {"cut-short.bmp", bmp24.chopped(bmp24.size() / 3), {}, {}, "truncated"},
        {"data-past-end.bmp", bmp24.left(10) + le32(bmp24.size() + 1000) + bmp24.mid(14), {}, {}, "past the end of the file"},
        {QString::fromUtf8("holiday 2024. with blanks.and.dots. Åsa Ørsted 東京.jpg"), jpeg, small, QuarterProbes, {}},
    };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QSize upright = orientation >= 5 ? small.transposed() : small;
        corpus.push_back({QStringLiteral("orientation-%1.jpg").arg(orientation),
                          WithExifOrientation(jpeg, orientation), upright,
                          UprightQuarterProbes(orientation), {}});
    }
    return corpus;
}

bool WriteCorpus(const std::vector<CorpusPicture>& corpus, const QDir& folder)
{
    for (const CorpusPicture& picture : corpus) {
        if (picture.isFolder()) {
            if (!folder.mkpath(picture.name))
                return false;
            continue;
        }
        QFile file(folder.filePath(picture.name));
        if (!file.open(QIODevice::WriteOnly) || file.write(picture.bytes) != picture.bytes.size())
            return false;
    }
    return true;
}

std::vector<CorpusPicture> ExtremeProportionPictures()
{
    const QImage grey = solidImage(QSize(65500, 8), 0xff808080);
    const QImage flat = solidImage(QSize(4000, 3000), 0xff3060a0);
    const QByteArray smallFrame(16 * 16, '\1');
    return {
        {"rle8-1x40000000.bmp", runLengthLine(40'000'000, true), QSize(1, 425), {}, {}},
        {"rle8-1x134000000.bmp", runLengthLine(134'000'000, true), QSize(1, 425), {}, {}},
        {"rle8-40000000x1.bmp", runLengthLine(40'000'000, false), QSize(729, 1), {}, {}},
        {"rle8-16x16-8-million-runs.bmp", runsPastTheRow(INT_MAX / 255 + 2), QSize(16, 16), {}, {}},
        {"gif-16x16-on-1920x1080.gif", gifFile(QSize(1920, 1080), {{QSize(16, 16), smallFrame}}, false, 1),
         QSize(729, 425), {}, {}},
        {"gif-16x16-on-11000x12000.gif", gifFile(QSize(11000, 12000), {{QSize(16, 16), smallFrame}}, false, 1),
         QSize(729, 425), {}, {}},
        {"png-1x10000000.png", greyPng(QSize(1, 10'000'000), 0x80), QSize(1, 425), {}, {}},
        {"png-10000000x1.png", greyPng(QSize(10'000'000, 1), 0x80), QSize(729, 1), {}, {}},
        {"png-1x40000000.png", greyPng(QSize(1, 40'000'000), 0x80), {}, {}, "a side longer"},
        {"png-40000000x1.png", greyPng(QSize(40'000'000, 1), 0x80), {}, {}, "a side longer"},
        {"png-9-mib-text.png", withTextChunk(encodePng(QuarteredImage(QSize(96, 64))), 9 * 1024 * 1024), QSize(96, 64), {}, {}},
        {"jpeg-65500x8.jpg", EncodeJpeg(grey), QSize(729, 8), {}, {}},
        {"jpeg-8x65500.jpg", EncodeJpeg(grey.transformed(QTransform().rotate(90))), QSize(8, 425), {}, {}},
        {"jpeg-arithmetic-4000x3000.jpg", arithmeticJpeg(flat, false), QSize(729, 425), {}, {}},
        {"jpeg-arithmetic-499-empty-scans.jpg", repeatedFirstScan(arithmeticJpeg(flat, true), 499), {}, {}, "more work"},
    };
}
