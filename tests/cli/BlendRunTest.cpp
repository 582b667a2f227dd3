#include "fakes/TestPictures.h"
#include "cli/BlendRun.h"
#include "fakes/FakePlatform.h"
#include "codecs/PictureCorpus.h"
#include "codecs/PictureDecoder.h"
#include "core/Failure.h"
#include "job/FileFaults.h"
#include "platform/SpecialFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <turbojpeg.h>

namespace {

QByteArray solidJpeg(QRgb colour)
{
    QImage image(QSize(800, 500), QImage::Format_RGB32);
    image.fill(colour);
    return EncodeJpeg(image);
}

class BlendRunTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    BlendArguments blend(const QString& picture1, const QString& picture2, const QString& output)
    {
        BlendArguments arguments;
        arguments.picture1 = picture1;
        arguments.picture2 = picture2;
        arguments.output = output;
        return arguments;
    }

    QTemporaryDir folder;
    FakePlatform platform;
};

// The side decides which picture is the base: left puts picture #1 on the left, right puts it
// on the right, each fading into the other.
TEST_F(BlendRunTest, WritesTheBlendOfTheChosenSideAsAFullColourJpegOrABitmap)
{
    const QString red = write("red.jpg", solidJpeg(CorpusRed));
    const QString blue = write("blue.jpg", solidJpeg(CorpusBlue));
    BlendArguments arguments = blend(red, blue, folder.filePath("result.jpg"));
    for (const BlendArguments::Side side : {BlendArguments::Side::Left, BlendArguments::Side::Right}) {
        arguments.side = side;
        RunBlend(platform, arguments);
        const Picture result = DecodePictureFile(arguments.output, CanvasSize);
        ASSERT_EQ(QSize(result.width, result.height), QSize(729, 425));
        const QRgb left = result.row(200)[0];
        const QRgb right = result.row(200)[728];
        const bool redLeft = side == BlendArguments::Side::Left;
        EXPECT_GT(qRed(redLeft ? left : right), 230);
        EXPECT_GT(qBlue(redLeft ? right : left), 230);
    }

    const QByteArray jpeg = read(arguments.output);
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = -1, colourspace = -1;
    tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                        static_cast<unsigned long>(jpeg.size()), &width, &height, &subsampling, &colourspace);
    tjDestroy(handle);
    EXPECT_EQ(subsampling, TJSAMP_444);

    arguments.output = folder.filePath("result.bmp");
    RunBlend(platform, arguments);
    EXPECT_TRUE(read(arguments.output).startsWith("BM"));
}

// Every bad or unusual picture, as either picture: a result from the pictures that load, or a
// failure naming the file, and then the earlier result is untouched.
TEST_F(BlendRunTest, EachCorpusPictureBlendsOrFailsAndKeepsTheEarlierResult)
{
    QDir corpusFolder(folder.path());
    corpusFolder.mkdir("corpus");
    corpusFolder.cd("corpus");
    const std::vector<CorpusPicture> corpus = BadAndUnusualPictures();
    ASSERT_TRUE(WriteCorpus(corpus, corpusFolder));
    const QString good = write("good.jpg", solidJpeg(CorpusGreen));
    const QString output = folder.filePath("result.jpg");
    const QByteArray earlier = "an earlier result";

    for (const CorpusPicture& picture : corpus) {
        QString path = corpusFolder.filePath(picture.name);
        if (picture.isFolder())
            path.chop(1);
        for (const bool first : {true, false}) {
            SCOPED_TRACE(picture.name.toStdString() + (first ? " as picture 1" : " as picture 2"));
            write("result.jpg", earlier);
            const BlendArguments arguments = first ? blend(path, good, output) : blend(good, path, output);
            try {
                RunBlend(platform, arguments);
                EXPECT_TRUE(picture.mustLoad()) << "blended, but must fail";
                const Picture result = DecodePictureFile(output, CanvasSize);
                EXPECT_EQ(QSize(result.width, result.height), QSize(729, 425));
            } catch (const Failure& failure) {
                EXPECT_FALSE(picture.mustLoad()) << failure.description();
                EXPECT_TRUE(QString::fromStdString(failure.description()).contains(QDir::toNativeSeparators(path)))
                    << failure.description();
                EXPECT_EQ(read(output), earlier);
            }
        }
    }
}

TEST_F(BlendRunTest, RefusesAnOutputNoWriterTakesBeforeLoadingAnything)
{
    const QString output = folder.filePath("result.tif");
    try {
        RunBlend(platform, blend(folder.filePath("missing1.jpg"), folder.filePath("missing2.jpg"), output));
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.description(), "Cannot write " + output.toStdString()
                                             + ": Invalid output file format (use .jpg, .jpeg, .png, .webp or .bmp)");
    }
}

TEST_F(BlendRunTest, AFailedWriteNamesTheOutputAndLeavesNoFile)
{
    const QString red = write("red.jpg", solidJpeg(CorpusRed));
    const QString output = folder.filePath("no such folder/result.jpg");
    try {
        RunBlend(platform, blend(red, red, output));
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_TRUE(QString::fromStdString(failure.description()).startsWith("Cannot write " + output + ": "))
            << failure.description();
    }
    EXPECT_FALSE(QFile::exists(output));
}

// Each write that fails is told in our own words: the file, and the system's reason or ours.
TEST_F(BlendRunTest, AFailedWriteNamesTheOutputAndWhy)
{
    const QString red = write("red.jpg", solidJpeg(CorpusRed));
    ASSERT_TRUE(folder.path().size() < 200);
    QDir(folder.path()).mkdir("folder.jpg");
    struct Case {
        QString output;
        QString cause;
    };
    std::vector<Case> cases = {
        {folder.filePath("no such folder/result.jpg"), "the folder does not exist"},
        {folder.filePath("no such folder/result.bmp"), "the folder does not exist"},
        {folder.filePath("folder.jpg"), "a folder of that name is in the way"},
        {folder.filePath(QString(300, u'n') + ".jpg"), "File name too long"},
        {red, "it is picture #1 itself, and a result never replaces one of its own pictures"},
    };
#ifdef Q_OS_UNIX
    if (MakeThingAt(Thing::Pipe, folder.filePath("pipe.jpg"), true))
        cases.push_back({folder.filePath("pipe.jpg"), "a named pipe (FIFO) of that name is in the way"});
    if (MakeThingAt(Thing::Device, folder.filePath("device.jpg"), true))
        cases.push_back({folder.filePath("device.jpg"), "a device of that name is in the way"});
#endif
    for (const Case& c : cases) {
        try {
            RunBlend(platform, blend(red, red, c.output));
            ADD_FAILURE() << c.output.toStdString() << " was written";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.description(), ("Cannot write " + c.output + ": " + c.cause).toStdString());
        }
    }
    EXPECT_EQ(read(red), solidJpeg(CorpusRed));
}

// The program itself: no display needed, exit status 0, 1 or 2, and a failure is one line on
// standard error.
TEST_F(BlendRunTest, TheProgramNeedsNoDisplayAndReportsFailureInOneLine)
{
    const QString program = QStringLiteral(VANTELLE_PROGRAM_DIR_IN_BUILD "/vantelle-blend");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    auto run = [&](const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return std::make_tuple(process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                               QString::fromLocal8Bit(process.readAllStandardError()));
    };

    const QString red = write("red.jpg", solidJpeg(CorpusRed));
    const QString output = folder.filePath("out.jpg");
    auto [status, out, err] = run({"--side", "top", "--start", "100", red, red, output});
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(err, "");
    EXPECT_TRUE(QFile::exists(output));

    const QString missing = folder.filePath("missing.jpg");
    std::tie(status, out, err) = run({red, missing, output});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, "vantelle-blend: File not found: " + missing + "\n");

    std::tie(status, out, err) = run({"--side", "up", red, red, output});
    EXPECT_EQ(status, 2);
    EXPECT_EQ(err.count('\n'), 1);

    std::tie(status, out, err) = run({"--help"});
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(out.startsWith("Usage: vantelle-blend"));
}

} // namespace
