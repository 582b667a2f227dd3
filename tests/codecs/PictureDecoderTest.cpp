#include "fakes/TestPictures.h"
#include "codecs/PictureCorpus.h"
#include "codecs/PictureDecoder.h"
#include "codecs/ReducedPicture.h"
#include "core/Failure.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ShrinkCase {
    QSize stored;
    bool quarterTurned;
    int reduction;
};

// The largest of 1/2, 1/4, 1/8 that keeps the upright picture at least 729 x 425 (libjpeg
// rounds the reduced size up), with the width and height swapped for orientations that turn
// the picture a quarter.
TEST(ShrinkOnLoadReduction, TakesTheLargestReductionThatStillCoversTheSizeUpright)
{
    const ShrinkCase cases[] = {
        {{6000, 4000}, false, 8},  // 24 MP: 750 x 500
        {{4000, 3000}, false, 4},  // 12 MP: an eighth would be 500 wide
        {{6000, 4000}, true, 4},   // portrait upright: 500 x 750 is too narrow
        {{4000, 6000}, false, 4},
        {{1458, 850}, false, 2},   // exactly the canvas at a half
        {{1457, 849}, false, 2},   // rounded up, a half still covers it
        {{1456, 850}, false, 1},   // a half would be a pixel short
        {{1458, 848}, false, 1},
        {{850, 1458}, true, 2},    // upright 1458 x 850
        {{850, 1458}, false, 1},   // upright 850 wide: no reduction fits
        {{729, 425}, false, 1},
        {{100, 80}, false, 1},     // never enlarged
        {{6001, 4003}, false, 8},
    };
    for (const ShrinkCase& c : cases)
        EXPECT_EQ(ShrinkOnLoadReduction(c.stored, c.quarterTurned, CanvasSize), c.reduction)
            << c.stored.width() << "x" << c.stored.height() << (c.quarterTurned ? " turned" : "");
}

// A side longer than the canvas's is reduced to it, upright; a shorter one is left for the
// stretch to enlarge.
TEST(ReducedSize, BringsLongSidesDownToTheCanvas)
{
    EXPECT_EQ(ReducedSize({6000, 4000}, false, CanvasSize), QSize(729, 425));
    EXPECT_EQ(ReducedSize({20000, 300}, false, CanvasSize), QSize(729, 300));
    EXPECT_EQ(ReducedSize({729, 426}, false, CanvasSize), QSize(729, 425));
    EXPECT_EQ(ReducedSize({4000, 6000}, true, CanvasSize), QSize(425, 729));
    EXPECT_EQ(ReducedSize({100, 80}, false, CanvasSize), QSize(100, 80));
}

TEST(SniffPictureFormat, GoesByTheFirstBytesOnly)
{
    EXPECT_EQ(SniffPictureFormat("BM\x36\0\0\0"), "bmp");
    EXPECT_EQ(SniffPictureFormat("GIF89a..."), "gif");
    EXPECT_EQ(SniffPictureFormat("GIF87a..."), "gif");
    EXPECT_EQ(SniffPictureFormat("\xff\xd8\xff\xe0"), "jpeg");
    EXPECT_EQ(SniffPictureFormat("\x89PNG\r\n\x1a\n"), "png");
    EXPECT_EQ(SniffPictureFormat("II*\0"), ""); // TIFF: a decoder the program does not expose
    EXPECT_EQ(SniffPictureFormat("GIF8"), "");
    EXPECT_EQ(SniffPictureFormat(""), "");
}

class DecodeFile : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(folder.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QRgb at(const Picture& picture, double x, double y)
    {
        return picture.row(int(y * picture.height))[int(x * picture.width)];
    }

    QTemporaryDir folder;
};

// A camera photo arrives at the canvas's size once upright, whichever way it was stored.
TEST_F(DecodeFile, BringsJpegsToTheCanvasUpright)
{
    const QByteArray photo = EncodeJpeg(QuarteredImage(QSize(2920, 1704)), 80);
    struct Case {
        int orientation;
        QSize decoded;
    };
    for (const Case c : {Case{1, {729, 425}}, Case{3, {729, 425}}, Case{6, {729, 425}}, Case{8, {729, 425}}}) {
        SCOPED_TRACE(c.orientation);
        const Picture picture = DecodePictureFile(write("photo.jpg", WithExifOrientation(photo, c.orientation)), CanvasSize);
        EXPECT_EQ(QSize(picture.width, picture.height), c.decoded);
        for (const ColourProbe& probe : UprightQuarterProbes(c.orientation))
            EXPECT_EQ(at(picture, probe.at.x(), probe.at.y()) & 0xf0f0f0, probe.colour & 0xf0f0f0);
    }
}

// Only the sides longer than the canvas's are reduced; the stretch enlarges the others.
TEST_F(DecodeFile, LeavesShortSidesAtTheirLength)
{
    const QImage big = QuarteredImage(QSize(1600, 300));
    EXPECT_EQ(DecodePictureFile(write("small.jpg", EncodeJpeg(QuarteredImage(QSize(400, 300)))), CanvasSize).width, 400);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        big.save(&buffer, "png");
    }
    const Picture wide = DecodePictureFile(write("wide.png", png), CanvasSize);
    EXPECT_EQ(QSize(wide.width, wide.height), QSize(729, 300));
}

// 100 megapixels still load (reduced to the canvas); a header claiming more than the
// limit is refused before any pixel is decoded, with the size it claims.
TEST_F(DecodeFile, TakesA100MegapixelPictureAndRefusesLargerClaimsAtOnce)
{
    const Picture hundred = DecodePictureFile(write("100mp.bmp", OneBitBmp(QSize(10000, 10000))), CanvasSize);
    EXPECT_EQ(hundred.width, 729);
    EXPECT_EQ(hundred.height, 425);

    const QString claim = write("claim.bmp", OneBitBmp(QSize(12000, 12000), false));
    try {
        DecodePictureFile(claim, CanvasSize);
        FAIL() << "a 144-megapixel claim loaded";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.description(),
                  "Cannot load the picture " + claim.toStdString()
                      + ": at 12000 x 12000 pixels it is larger than the 134 megapixels a picture may have");
    }
}

TEST_F(DecodeFile, NamesAMissingFile)
{
    const QString missing = QDir(folder.path()).filePath("gone.jpg");
    try {
        DecodePictureFile(missing, CanvasSize);
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), FailureNumber::FileNotFound);
        EXPECT_EQ(failure.description(), "File not found: " + missing.toStdString());
    }
}

} // namespace
