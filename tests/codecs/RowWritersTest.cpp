#include "codecs/SaveAsJPG.h"
#include "codecs/SaveAsPNG.h"
#include "codecs/SaveAsWebP.h"
#include "codecs/SavePicture.h"
#include "codecs/WrittenFormats.h"

#include "core/Failure.h"
#include "fakes/FailureOf.h"
#include "fakes/TestPictures.h"
#include "job/FileFaults.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <turbojpeg.h>
#include <webp/decode.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <functional>

namespace {

// Sharp steps in every channel and a width whose BMP rows need padding: something for each
// writer to get wrong, in the order of the bytes, the rows or the channels.
Picture StepsPicture(int width, int height)
{
    return MakePicture(width, height, [](int x, int y) {
        return std::uint32_t((x * 37 % 256) << 16 | (y * 11 % 256) << 8 | ((x / 16 + y / 16) % 2) * 200);
    });
}

struct Format {
    const char* name;
    const char* file;
    std::function<std::unique_ptr<PictureRowWriter>(const QString&, QSize)> start;
    int most; // the largest difference read back in a channel
};

const Format Formats[] = {
    {"JPEG", "out.jpg", [](const QString& path, QSize size) { return StartJpegFile(path, size, 100); }, 6},
    {"PNG", "out.png", [](const QString& path, QSize size) { return StartPngFile(path, size); }, 0},
    {"BMP", "out.bmp", [](const QString& path, QSize size) { return StartBmpFile(path, size); }, 0},
    {"WebP", "out.webp", [](const QString& path, QSize size) { return StartWebPFile(path, size, 100); }, 0},
};

// The file read back as 0xffRRGGBB words, row after row; empty when it cannot be read.
std::vector<std::uint32_t> ReadBack(const QString& path, QSize size)
{
    std::vector<std::uint32_t> pixels;
    if (path.endsWith(QLatin1String(".webp"))) {
        const QByteArray bytes = ContentOf(path);
        int width = 0, height = 0;
        std::uint8_t* bgra = WebPDecodeBGRA(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                            std::size_t(bytes.size()), &width, &height);
        if (bgra && QSize(width, height) == size) {
            const auto* words = reinterpret_cast<const std::uint32_t*>(bgra);
            pixels.assign(words, words + std::size_t(width) * std::size_t(height));
        }
        WebPFree(bgra);
        return pixels;
    }
    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    if (image.size() != size)
        return pixels;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        pixels.insert(pixels.end(), row, row + image.width());
    }
    return pixels;
}

int LargestChannelError(const Picture& expected, const std::vector<std::uint32_t>& actual)
{
    int largest = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            const std::uint32_t e = expected.row(y)[x];
            const std::uint32_t a = actual[std::size_t(y) * std::size_t(expected.width) + std::size_t(x)];
            largest = std::max({largest, std::abs(Red(e) - Red(a)), std::abs(Green(e) - Green(a)),
                                std::abs(Blue(e) - Blue(a))});
        }
    return largest;
}

class RowWritersTest : public ::testing::Test {
protected:
    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir;
    const QByteArray earlier = QByteArrayLiteral("the earlier picture");
};

} // namespace

// Written a row at a time, each file reads back as the picture: the lossless formats exactly,
// JPEG at quality 100 within the rounding of its colour transform. The height takes several
// runs of BMP rows, the last one short.
TEST_F(RowWritersTest, EachFormatWrittenARowAtATimeReadsBack)
{
    const Picture picture = StepsPicture(1001, 200);
    for (const Format& format : Formats) {
        const QString path = in(QLatin1String(format.file));
        ASSERT_TRUE(PutFile(path, earlier));
        const std::unique_ptr<PictureRowWriter> writer = format.start(path, QSize(1001, 200));
        for (int y = 0; y < picture.height; ++y) {
            writer->writeRow(picture.row(y));
            if (y == 100) {
                EXPECT_EQ(ContentOf(path), earlier) << format.name;
            }
        }
        writer->finish();
        const std::vector<std::uint32_t> back = ReadBack(path, QSize(1001, 200));
        ASSERT_FALSE(back.empty()) << format.name;
        EXPECT_LE(LargestChannelError(picture, back), format.most) << format.name;
    }
    EXPECT_EQ(ContentOf(in(QStringLiteral("out.bmp"))).size(), 54 + 3004 * 200);
    EXPECT_EQ(EntriesOf(dir.path()), QStringList({"out.bmp", "out.jpg", "out.png", "out.webp"}));
}

// The designed result's bytes are those of libjpeg-turbo's own compressor at the same settings
// (4:4:4, accurate DCT), at the result's quality and at others.
TEST_F(RowWritersTest, JpegBytesAreThoseOfTheTurboJpegCompressor)
{
    const Picture result = MakePicture(729, 425, [](int x, int y) {
        return std::uint32_t((x * 255 / 728) << 16 | (y * 255 / 424) << 8 | ((x * y) % 256));
    });
    const Picture odd = StepsPicture(33, 17);
    for (const Picture* picture : {&result, &odd}) {
        for (const int quality : {100, 95, 75, 1}) {
            const QString path = in(QStringLiteral("result.jpg"));
            SaveJPG(*picture, path, quality);

            tjhandle compressor = tjInitCompress();
            unsigned char* expected = nullptr;
            unsigned long size = 0;
            const int pixelFormat = std::endian::native == std::endian::little ? TJPF_BGRX : TJPF_XRGB;
            ASSERT_EQ(tjCompress2(compressor, reinterpret_cast<const unsigned char*>(picture->pixels), picture->width,
                                  int(picture->stride * 4), picture->height, pixelFormat, &expected, &size, TJSAMP_444,
                                  quality, TJFLAG_ACCURATEDCT),
                      0);
            const QByteArray reference(reinterpret_cast<const char*>(expected), qsizetype(size));
            tjFree(expected);
            tjDestroy(compressor);
            EXPECT_TRUE(ContentOf(path) == reference) << picture->width << " at quality " << quality;
        }
    }
}

// Given up before its finish, at any row, a writer leaves nothing and the earlier file whole.
TEST_F(RowWritersTest, AWriterGoneBeforeItsFinishLeavesTheEarlierFile)
{
    const Picture picture = StepsPicture(300, 120);
    for (const Format& format : Formats) {
        for (const int rows : {0, 1, 60, 120}) {
            const QString path = in(QLatin1String(format.file));
            ASSERT_TRUE(PutFile(path, earlier));
            {
                const std::unique_ptr<PictureRowWriter> writer = format.start(path, QSize(300, 120));
                for (int y = 0; y < rows; ++y)
                    writer->writeRow(picture.row(y));
            }
            EXPECT_EQ(ContentOf(path), earlier) << format.name << " after " << rows << " rows";
            EXPECT_EQ(EntriesOf(dir.path()), QStringList{QLatin1String(format.file)}) << format.name;
            ASSERT_TRUE(QFile::remove(path));
        }
    }
}

// A row past the last, a finish before the last row or a second finish is the caller's mistake:
// refused, and the earlier file stays.
TEST_F(RowWritersTest, RowsMiscountedAreRefusedAndNothingIsWritten)
{
    const Picture picture = StepsPicture(40, 3);
    for (const Format& format : Formats) {
        const QString path = in(QLatin1String(format.file));
        ASSERT_TRUE(PutFile(path, earlier));
        {
            const std::unique_ptr<PictureRowWriter> short_ = format.start(path, QSize(40, 3));
            short_->writeRow(picture.row(0));
            const Failure early = FailureOf([&] { short_->finish(); });
            EXPECT_EQ(early.cause(), "only 1 of the picture's 3 rows were given") << format.name;
            // The failure stays.
            EXPECT_EQ(FailureOf([&] { short_->writeRow(picture.row(1)); }).cause(), early.cause()) << format.name;
        }
        {
            const std::unique_ptr<PictureRowWriter> long_ = format.start(path, QSize(40, 2));
            long_->writeRow(picture.row(0));
            long_->writeRow(picture.row(1));
            EXPECT_EQ(FailureOf([&] { long_->writeRow(picture.row(2)); }).cause(), "a row was given beyond the picture's 2 rows")
                << format.name;
        }
        EXPECT_EQ(ContentOf(path), earlier) << format.name;
        EXPECT_EQ(EntriesOf(dir.path()), QStringList{QLatin1String(format.file)}) << format.name;

        const std::unique_ptr<PictureRowWriter> writer = format.start(path, QSize(40, 1));
        writer->writeRow(picture.row(0));
        writer->finish();
        EXPECT_EQ(FailureOf([&] { writer->finish(); }).cause(), "the file is complete already") << format.name;
        EXPECT_EQ(ReadBack(path, QSize(40, 1)).size(), 40u) << format.name;
        ASSERT_TRUE(QFile::remove(path));
    }
}

#ifdef Q_OS_UNIX
// The file system refuses the bytes part way through the rows or at the finish: the writer says
// why in the system's words, in its own form, and the earlier file stays whole with nothing
// beside it.
TEST_F(RowWritersTest, AFileRefusedPartWayKeepsTheEarlierOneAndSaysWhy)
{
    const Picture picture = NoisePicture(1500, 400);
    for (const Format& format : Formats) {
        const QString path = in(QLatin1String(format.file));
        ASSERT_TRUE(PutFile(path, earlier));
        Failure failure(0, "no failure");
        {
            const FileSizeLimit fullDisk(256 << 10);
            failure = FailureOf([&] { WritePictureRows(*format.start(path, QSize(1500, 400)), picture); });
        }
        EXPECT_EQ(failure.cause(), "File too large") << format.name;
        EXPECT_EQ(failure.path(), path.toStdString()) << format.name;
        if (format.file == std::string("out.jpg")) {
            EXPECT_EQ(failure.description(), "Cannot save the image. GDI+ Error:7");
        } else {
            EXPECT_EQ(failure.number(), FailureNumber::PathFileAccess) << format.name;
            EXPECT_EQ(failure.description(), "Cannot save the picture " + path.toStdString() + ": File too large");
        }
        EXPECT_EQ(ContentOf(path), earlier) << format.name;
        EXPECT_EQ(EntriesOf(dir.path()), QStringList{QLatin1String(format.file)}) << format.name;
        ASSERT_TRUE(QFile::remove(path));
    }
}

#ifdef Q_OS_LINUX
TEST_F(RowWritersTest, AFullDiskPartWayKeepsTheEarlierFileAndSaysWhy)
{
    const QString folder = in(QStringLiteral("small disk"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("small disk")));
    const SmallDisk disk(folder, 512);
    if (!disk.mounted())
        GTEST_SKIP() << "the user running the tests may not mount a disk";
    const Picture picture = NoisePicture(1500, 400);
    for (const Format& format : Formats) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(format.file);
        ASSERT_TRUE(PutFile(path, earlier));
        const std::unique_ptr<PictureRowWriter> writer = format.start(path, QSize(1500, 400));
        const Failure failure = FailureOf([&] { WritePictureRows(*writer, picture); });
        EXPECT_EQ(failure.cause(), "No space left on device") << format.name;
        EXPECT_EQ(ContentOf(path), earlier) << format.name;
        ASSERT_TRUE(QFile::remove(path));
    }
    EXPECT_TRUE(EntriesOf(folder).isEmpty());
}
#endif
#endif

// Refused before the file is touched: a picture the format cannot hold, and a quality it does
// not take, in each writer's own form.
TEST_F(RowWritersTest, WhatAFormatCannotHoldIsRefusedBeforeTheFileIsTouched)
{
    struct Case {
        const char* what;
        std::function<void(const QString&)> start;
        std::string cause;
    };
    const Case cases[] = {
        {"empty PNG", [](const QString& path) { StartPngFile(path, QSize(0, 5)); }, "the picture is empty"},
        {"empty BMP", [](const QString& path) { StartBmpFile(path, QSize(5, 0)); }, "the picture is empty"},
        {"long JPEG", [](const QString& path) { StartJpegFile(path, QSize(65501, 1), 90); },
         "a JPEG picture can have at most 65500 pixels a side"},
        {"JPEG quality", [](const QString& path) { StartJpegFile(path, QSize(5, 5), -1); }, "the quality -1 is not from 0 to 100"},
        {"tall WebP", [](const QString& path) { StartWebPFile(path, QSize(1, 16384), 90); },
         "a WebP picture can have at most 16383 pixels a side"},
        {"WebP quality", [](const QString& path) { StartWebPFile(path, QSize(5, 5), 0); }, "the quality 0 is not from 1 to 100"},
        {"huge BMP", [](const QString& path) { StartBmpFile(path, QSize(40000, 40000)); },
         "a BMP file can hold at most 4 GiB, and a picture of 40000 x 40000 pixels needs more"},
    };
    const QString path = in(QStringLiteral("out"));
    ASSERT_TRUE(PutFile(path, earlier));
    for (const Case& c : cases) {
        EXPECT_EQ(FailureOf([&] { c.start(path); }).cause(), c.cause) << c.what;
        EXPECT_EQ(ContentOf(path), earlier) << c.what;
    }
    EXPECT_EQ(EntriesOf(dir.path()), QStringList{"out"});
    EXPECT_TRUE(SideRefusal(WrittenFormat::Png, QSize(2000000000, 1)).isEmpty());
    EXPECT_TRUE(QualityRefusal(WrittenFormat::Bmp, -5).isEmpty());
}
