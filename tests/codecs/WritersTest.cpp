#include "job/ResultWriter.h"
#include "codecs/SaveAsJPG.h"
#include "codecs/SavePicture.h"

#include "fakes/FailureOf.h"
#include "fakes/TestPictures.h"
#include "job/FileFaults.h"
#include "core/Failure.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdlib>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Colour bands with soft edges: something for the encoder to get wrong.
Picture ResultLikePicture()
{
    return MakePicture(729, 425, [](int x, int y) {
        return static_cast<std::uint32_t>((x * 255 / 728) << 16 | (y * 255 / 424) << 8 | ((x + y) % 256));
    });
}

struct JpegHeader {
    int width = 0;
    int height = 0;
    int subsampling = -1;
};

JpegHeader HeaderOf(const QByteArray& jpeg)
{
    JpegHeader header;
    int colorspace = 0;
    tjhandle decompressor = tjInitDecompress();
    tjDecompressHeader3(decompressor, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                        static_cast<unsigned long>(jpeg.size()), &header.width, &header.height,
                        &header.subsampling, &colorspace);
    tjDestroy(decompressor);
    return header;
}

// Every entry of every quantisation table: at quality 100 they are all 1.
std::vector<int> QuantisationEntries(const QByteArray& jpeg)
{
    std::vector<int> entries;
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(jpeg[i]); };
    for (qsizetype i = 2; i + 4 <= jpeg.size() && byte(i) == 0xff;) {
        const int marker = byte(i + 1);
        const qsizetype length = byte(i + 2) << 8 | byte(i + 3);
        if (marker == 0xdb) {
            for (qsizetype t = i + 4; t < i + 2 + length;) {
                const bool wide = (byte(t) >> 4) != 0;
                ++t;
                for (int k = 0; k < 64; ++k, t += wide ? 2 : 1)
                    entries.push_back(wide ? byte(t) << 8 | byte(t + 1) : byte(t));
            }
        }
        if (marker == 0xda)
            break;
        i += 2 + length;
    }
    return entries;
}

int LargestChannelError(const Picture& expected, const QImage& actual)
{
    int largest = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            const std::uint32_t e = expected.row(y)[x];
            const QRgb a = actual.pixel(x, y);
            largest = std::max({largest, std::abs(Red(e) - qRed(a)), std::abs(Green(e) - qGreen(a)),
                                std::abs(Blue(e) - qBlue(a))});
        }
    return largest;
}

class WritersTest : public ::testing::Test {
protected:
    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir;
    const Picture picture = ResultLikePicture();
};

} // namespace

TEST_F(WritersTest, SaveJpgWritesTheEncodersBestOutput)
{
    const QString path = in(QStringLiteral("result.jpg"));
    SaveJPG(picture, path, 100);

    const QByteArray jpeg = ContentOf(path);
    const JpegHeader header = HeaderOf(jpeg);
    EXPECT_EQ(header.width, 729);
    EXPECT_EQ(header.height, 425);
    EXPECT_EQ(header.subsampling, TJSAMP_444);
    const std::vector<int> entries = QuantisationEntries(jpeg);
    ASSERT_EQ(entries.size(), 128u); // one table for brightness, one for colour
    EXPECT_TRUE(std::all_of(entries.begin(), entries.end(), [](int q) { return q == 1; }));
    // Only the rounding of the colour transform remains; a wrong channel order or halved
    // colour resolution would miss by far more at the sharp steps of the blue band.
    EXPECT_LE(LargestChannelError(picture, QImage(path)), 6);
}

TEST_F(WritersTest, SaveJpgFailuresCarryTheirStatus)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("result.jpg")));
    // The description is the one the window's report shows; the path and the cause in words
    // travel beside it.
    struct Case {
        const char* what;
        Picture picture;
        QString path;
        int quality;
        const char* description;
        const char* cause;
    };
    const Case cases[] = {
        {"empty picture", Picture(), in(QStringLiteral("a.jpg")), 100, "Cannot save the image. GDI+ Error:2",
         "the picture is empty"},
        {"quality over 100", picture, in(QStringLiteral("a.jpg")), 101, "Cannot save the image. GDI+ Error:2",
         "the quality 101 is not from 0 to 100"},
        {"missing folder", picture, in(QStringLiteral("missing/result.jpg")), 100, "Cannot save the image. GDI+ Error:10",
         "the folder does not exist"},
        {"folder in the way", picture, in(QStringLiteral("result.jpg")), 100, "Cannot save the image. GDI+ Error:12",
         "a folder of that name is in the way"},
        {"name too long", picture, in(QString(300, u'n') + QStringLiteral(".jpg")), 100,
         "Cannot save the image. GDI+ Error:7", "File name too long"},
    };
    for (const Case& c : cases) {
        const Failure failure = FailureOf([&] { SaveJPG(c.picture, c.path, c.quality); });
        EXPECT_EQ(failure.number(), 5) << c.what;
        EXPECT_EQ(failure.description(), c.description) << c.what;
        EXPECT_EQ(failure.path(), c.path.toStdString()) << c.what;
        EXPECT_EQ(failure.cause(), c.cause) << c.what;
    }
    EXPECT_EQ(EntriesOf(dir.path()), QStringList{QStringLiteral("result.jpg")});
}

#ifdef Q_OS_LINUX
// A disk that really fills up part way through: the system's reason reaches the failure, and
// the earlier result stays whole with nothing left beside it.
TEST_F(WritersTest, SaveJpgOnADiskThatFillsUpNamesTheSystemsReason)
{
    const QString folder = in(QStringLiteral("small disk"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("small disk")));
    const SmallDisk disk(folder, 64);
    if (!disk.mounted())
        GTEST_SKIP() << "the user running the tests may not mount a disk";
    const QString path = folder + QStringLiteral("/result.jpg");
    ASSERT_TRUE(PutFile(path, QByteArrayLiteral("earlier")));

    const Failure failure = FailureOf([&] { SaveJPG(picture, path, 100); });
    EXPECT_EQ(failure.description(), "Cannot save the image. GDI+ Error:7");
    EXPECT_EQ(failure.cause(), "No space left on device");
    EXPECT_EQ(ContentOf(path), QByteArrayLiteral("earlier"));
    EXPECT_EQ(EntriesOf(folder), QStringList{QStringLiteral("result.jpg")});
}

// The earlier result's own mode allows writing; the file system is what refuses, and the
// cause says so.
TEST_F(WritersTest, SaveJpgOnAReadOnlyFileSystemNamesIt)
{
    const QString folder = in(QStringLiteral("read-only disk"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("read-only disk")));
    const SmallDisk disk(folder, 64);
    if (!disk.mounted())
        GTEST_SKIP() << "the user running the tests may not mount a disk";
    const QString path = folder + QStringLiteral("/result.jpg");
    ASSERT_TRUE(PutFile(path, QByteArrayLiteral("earlier")));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                                | QFileDevice::ReadOther));
    ASSERT_TRUE(disk.makeReadOnly());

    const Failure failure = FailureOf([&] { SaveJPG(picture, path, 100); });
    EXPECT_EQ(failure.description(), "Cannot save the image. GDI+ Error:12");
    EXPECT_EQ(failure.cause(), "the folder is on a file system mounted read-only");
    EXPECT_EQ(ContentOf(path), QByteArrayLiteral("earlier"));
    EXPECT_EQ(EntriesOf(folder), QStringList{QStringLiteral("result.jpg")});
}
#endif

TEST_F(WritersTest, SaveJpgIntoAReadOnlyFolderNamesTheSystemsReason)
{
    const QString path = in(QStringLiteral("result.jpg"));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool refused = ReadOnlyFolderRefusesFiles(dir.path());
    const Failure failure = FailureOf([&] { SaveJPG(picture, path, 100); });
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!refused)
        GTEST_SKIP() << "folder permissions do not bind the user running the tests";
    EXPECT_EQ(failure.description(), "Cannot save the image. GDI+ Error:12");
    EXPECT_EQ(failure.cause(), "Permission denied");
    EXPECT_TRUE(EntriesOf(dir.path()).isEmpty());
}

#ifdef Q_OS_UNIX
TEST_F(WritersTest, SaveJpgOnAFullDiskKeepsTheEarlierResult)
{
    const QString path = in(QStringLiteral("result.jpg"));
    ASSERT_TRUE(PutFile(path, QByteArrayLiteral("earlier")));
    const FileSizeLimit fullDisk(1024);
    const Failure failure = FailureOf([&] { SaveJPG(picture, path, 100); });
    EXPECT_EQ(failure.description(), "Cannot save the image. GDI+ Error:7");
    EXPECT_EQ(failure.cause(), "File too large");
    EXPECT_EQ(ContentOf(path), QByteArrayLiteral("earlier"));
    EXPECT_EQ(EntriesOf(dir.path()), QStringList{QStringLiteral("result.jpg")});
}
#endif

TEST_F(WritersTest, SavePictureWritesTheWholeBitmapExactly)
{
    const QString path = in(QStringLiteral("result.bmp"));
    ASSERT_TRUE(PutFile(path, QByteArrayLiteral("earlier")));
    SavePicture(picture, path);

    EXPECT_TRUE(ContentOf(path).startsWith("BM"));
    const QImage written(path);
    ASSERT_EQ(written.size(), QSize(729, 425));
    EXPECT_EQ(LargestChannelError(picture, written), 0);
}

TEST_F(WritersTest, SavePictureNamesTheFileItCannotWrite)
{
    const QString path = in(QStringLiteral("missing/result.bmp"));
    const Failure failure = FailureOf([&] { SavePicture(picture, path); });
    EXPECT_EQ(failure.number(), FailureNumber::PathNotFound);
    EXPECT_EQ(QString::fromStdString(failure.description()),
              QStringLiteral("Cannot save the picture %1: the folder does not exist").arg(QDir::toNativeSeparators(path)));
}

TEST(ResultFormat, FollowsTheExtensionOfTheFileName)
{
    const std::pair<const char*, ResultFormat> cases[] = {
        {"/out/result.jpg", ResultFormat::Jpeg},
        {"/out/RESULT.JPG", ResultFormat::Jpeg},
        {"/out/Photos.bmp/result.jpg", ResultFormat::Jpeg},
        {"/out/result.bmp", ResultFormat::Bmp},
        {"/out/result.Bmp", ResultFormat::Bmp},
        {"/out.jpg/result.png", ResultFormat::Invalid},
        {"/out/result", ResultFormat::Invalid},
        {"", ResultFormat::Invalid},
    };
    for (const auto& [path, format] : cases)
        EXPECT_EQ(ResultFormatOf(QString::fromUtf8(path)), format) << path;
}

TEST_F(WritersTest, WriteResultChoosesTheWriterByTheFileName)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Photos.bmp")));
    WriteResult(picture, in(QStringLiteral("Photos.bmp/result.jpg")));
    WriteResult(picture, in(QStringLiteral("result.BMP")));

    EXPECT_TRUE(ContentOf(in(QStringLiteral("Photos.bmp/result.jpg"))).startsWith("\xff\xd8\xff"));
    EXPECT_TRUE(ContentOf(in(QStringLiteral("result.BMP"))).startsWith("BM"));
    const Failure failure = FailureOf([&] { WriteResult(picture, in(QStringLiteral("result.png"))); });
    EXPECT_EQ(failure.description(), "Invalid output file format");
    EXPECT_FALSE(QFile::exists(in(QStringLiteral("result.png"))));
}

// A result never takes the place of one of its own pictures, whatever name leads to it.
TEST_F(WritersTest, AResultIsRefusedWhereItWouldReplaceOneOfItsPictures)
{
    const QString one = in(QStringLiteral("one.jpg"));
    const QString two = in(QStringLiteral("two.jpg"));
    ASSERT_TRUE(PutFile(one, "picture one"));
    ASSERT_TRUE(PutFile(two, "picture two"));
    ASSERT_TRUE(QFile::link(two, in(QStringLiteral("symbolic.jpg"))));
#ifdef Q_OS_UNIX
    ASSERT_EQ(::link(QFile::encodeName(one).constData(), QFile::encodeName(in(QStringLiteral("hard.jpg"))).constData()), 0);
#endif
    const std::pair<const char*, const char*> cases[] = {
        {"one.jpg", "it is picture #1 itself"},
        {"./two.jpg", "it is picture #2 itself"},
        {"symbolic.jpg", "it is the same file as picture #2, TWO"},
#ifdef Q_OS_UNIX
        {"hard.jpg", "it is the same file as picture #1, ONE"},
#endif
    };
    for (const auto& [name, why] : cases) {
        const QString output = in(QString::fromUtf8(name));
        const Failure failure = FailureOf([&] { RefuseWritingOverAPicture(output, {one, two}); });
        const std::string cause = QString::fromUtf8(why).replace("ONE", one).replace("TWO", two).toStdString()
                                  + ", and a result never replaces one of its own pictures";
        EXPECT_EQ(failure.cause(), cause) << name;
        EXPECT_EQ(failure.description(), "Cannot write " + output.toStdString() + ": " + cause) << name;
        EXPECT_EQ(failure.path(), output.toStdString()) << name;
    }
    for (const char* name : {"result.jpg", "missing/result.jpg"}) {
        const Failure failure = FailureOf([&] { RefuseWritingOverAPicture(in(QString::fromUtf8(name)), {one, two}); });
        EXPECT_EQ(failure.description(), "no failure") << name;
    }
    EXPECT_EQ(ContentOf(one), QByteArrayLiteral("picture one"));
    EXPECT_EQ(ContentOf(two), QByteArrayLiteral("picture two"));
}
