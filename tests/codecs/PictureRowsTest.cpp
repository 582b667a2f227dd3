#include "codecs/PictureDecoder.h"

#include "codecs/PictureCorpus.h"
#include "core/Failure.h"
#include "core/PixelMemory.h"
#include "engine/FittedRows.h"
#include "fakes/TestPictures.h"
#include "job/FileFaults.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// A smooth picture with a fine sawtooth: one pass of the filter and two differ on it by a few
// levels at most.
QImage smooth(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(30 + 190 * x / size.width(), 200 - 150 * y / size.height(), 90 + (x + y) % 40));
    return image;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Gathers the rows a decoding hands on into a picture, and checks they come once each, in order.
class GatheredRows : public RowSink {
public:
    explicit GatheredRows(QSize size)
        : size_(size), pixels_(NewPixels(std::size_t(size.width()) * std::size_t(size.height())))
    {
    }
    void takeRow(int y, const std::uint32_t* row) override
    {
        order.push_back(y);
        ASSERT_GE(y, 0);
        ASSERT_LT(y, size_.height());
        std::memcpy(pixels_.get() + std::size_t(y) * std::size_t(size_.width()), row, std::size_t(size_.width()) * 4);
    }
    Picture picture() const { return Picture::fromPixels(pixels_, size_.width(), size_.height()); }
    std::vector<int> order;

private:
    QSize size_;
    std::shared_ptr<std::uint32_t[]> pixels_;
};

int mostDifference(const Picture& a, const Picture& b)
{
    int most = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int shift = 0; shift < 24; shift += 8)
                most = std::max(most, std::abs(int((a.row(y)[x] >> shift) & 0xff) - int((b.row(y)[x] >> shift) & 0xff)));
    return most;
}

struct PictureKind {
    const char* name;
    QByteArray bytes;
};

std::vector<PictureKind> pictureKinds(QSize size)
{
    const QImage image = smooth(size);
    const QByteArray jpeg = EncodeJpeg(image, 95);
    return {
        {"picture.jpg", jpeg},
        {"progressive.jpg", EncodeJpeg(image, 95, true)},
        // Stored turned: held until complete, then handed on.
        {"turned.jpg", WithExifOrientation(EncodeJpeg(image.transformed(QTransform().rotate(-90))), 6)},
        {"upside-down.jpg", WithExifOrientation(EncodeJpeg(image.transformed(QTransform().rotate(180))), 3)},
        {"picture.png", encoded(image, "PNG")},
        {"bottom-up.bmp", encoded(image, "BMP")},
    };
}

} // namespace

// Every kind of picture, streamed or held because it is stored turned or bottom-up, arrives
// row by row as the whole decoding brought to the size by the fit, at sizes that enlarge,
// reduce and cut off.
TEST(PictureRows, EachKindArrivesRowByRowAsTheWholePictureFitted)
{
    QTemporaryDir folder;
    struct Target {
        QSize size;
        PictureFit fit;
    };
    const Target targets[] = {
        {{450, 150}, PictureFit::Stretch}, {{200, 300}, PictureFit::Stretch}, {{120, 120}, PictureFit::Cover},
        {{600, 200}, PictureFit::Cover},   {{300, 200}, PictureFit::Stretch},
    };
    for (const PictureKind& kind : pictureKinds(QSize(300, 200))) {
        const QString file = folder.filePath(QLatin1String(kind.name));
        ASSERT_TRUE(PutFile(file, kind.bytes));
        for (const Target& target : targets) {
            const QString what = QStringLiteral("%1 at %2 x %3 %4")
                                     .arg(QLatin1String(kind.name))
                                     .arg(target.size.width())
                                     .arg(target.size.height())
                                     .arg(target.fit == PictureFit::Cover ? "cover" : "stretch");
            GatheredRows rows(target.size);
            DecoderMemory memory;
            DecodePictureRows(file, target.size, target.fit, memory, rows, nullptr);
            std::vector<int> everyRow(std::size_t(target.size.height()));
            for (std::size_t y = 0; y < everyRow.size(); ++y)
                everyRow[y] = int(y);
            EXPECT_EQ(rows.order, everyRow) << what.toStdString();

            GatheredRows whole(target.size);
            HandFittedRows(DecodePictureFile(file, target.size, nullptr, target.fit), target.size.width(),
                           target.size.height(), target.fit, whole, nullptr);
            EXPECT_LE(mostDifference(rows.picture(), whole.picture()), 8) << what.toStdString();
        }
    }
}

TEST(PictureRows, AStoppedDecodingHandsOnNoMoreRows)
{
    QTemporaryDir folder;
    for (const PictureKind& kind : pictureKinds(QSize(300, 200))) {
        const QString file = folder.filePath(QLatin1String(kind.name));
        ASSERT_TRUE(PutFile(file, kind.bytes));
        const StopFlag stop{true};
        GatheredRows rows(QSize(400, 100));
        DecoderMemory memory;
        EXPECT_THROW(DecodePictureRows(file, QSize(400, 100), PictureFit::Stretch, memory, rows, &stop), Stopped) << kind.name;
        EXPECT_TRUE(rows.order.empty()) << kind.name;
    }
}

// The size a picture shows, read from its header: turned as its orientation says.
TEST(PictureRows, TheSizeIsReadFromTheHeaderAndTurnedUpright)
{
    QTemporaryDir folder;
    const QImage image = smooth(QSize(300, 200));
    struct Case {
        const char* name;
        QByteArray bytes;
        QSize size;
    };
    const Case cases[] = {
        {"picture.png", encoded(image, "PNG"), {300, 200}},
        {"picture.bmp", encoded(image, "BMP"), {300, 200}},
        {"picture.jpg", EncodeJpeg(image), {300, 200}},
        {"turned.jpg", WithExifOrientation(EncodeJpeg(image), 6), {200, 300}},
        {"mirrored.jpg", WithExifOrientation(EncodeJpeg(image), 2), {300, 200}},
    };
    for (const Case& c : cases) {
        const QString file = folder.filePath(QLatin1String(c.name));
        ASSERT_TRUE(PutFile(file, c.bytes));
        EXPECT_EQ(PictureFileSize(file), c.size) << c.name;
    }
    const QString text = folder.filePath(QStringLiteral("notes.png"));
    ASSERT_TRUE(PutFile(text, "not a picture"));
    try {
        PictureFileSize(text);
        ADD_FAILURE();
    } catch (const Failure& failure) {
        EXPECT_NE(failure.description().find("notes.png"), std::string::npos) << failure.description();
    }
}
