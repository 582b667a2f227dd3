#include "fakes/TestPictures.h"
#include "job/FileFaults.h"
#include "codecs/PictureCorpus.h"
#include "codecs/PictureDecoder.h"
#include "platform/SpecialFiles.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace {

struct ProgramRun {
    int status = -1;
    QByteArray err;
};

// vantelle-blend as a script runs it, without a display.
class BlendProgramTest : public ::testing::Test {
protected:
    QString in(const QString& name) const { return folder.path() + QLatin1Char('/') + name; }

    QString put(const QString& name, const QByteArray& bytes) const
    {
        const QString path = in(name);
        EXPECT_TRUE(PutFile(path, bytes));
        return path;
    }

    static QProcessEnvironment environment()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_LOGGING_RULES"})
            environment.remove(QString::fromLatin1(name));
        return environment;
    }

    static ProgramRun run(const QStringList& arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(VANTELLE_PROGRAM_DIR_IN_BUILD "/vantelle-blend"), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), process.readAllStandardError()};
    }

    // The arguments go through the shell's printf, so that "\0377" gives the byte 0xff: a
    // name that is not valid UTF-8, as a file system may hold.
    static ProgramRun runWithBytes(const QStringList& escapedArguments)
    {
        const QString script = QStringLiteral(
            "n=$#; for a; do set -- \"$@\" \"$(printf '%b' \"$a\")\"; done; shift $n; exec \"$0\" \"$@\"");
        return runShell(QStringList{QStringLiteral("-c"), script, QStringLiteral(VANTELLE_PROGRAM_DIR_IN_BUILD "/vantelle-blend")}
                        + escapedArguments);
    }

    static ProgramRun runShell(const QStringList& arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral("/bin/sh"), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), process.readAllStandardError()};
    }

    static QByteArray redJpeg()
    {
        QImage image(QSize(800, 500), QImage::Format_RGB32);
        image.fill(Qt::red);
        return EncodeJpeg(image);
    }

    QTemporaryDir folder;
};

} // namespace

// Picture #1 named as the output, directly or through a link: refused before anything is
// loaded, with exit status 1, and the picture stays as it was.
TEST_F(BlendProgramTest, AnOutputThatIsOneOfThePicturesIsRefused)
{
    const QString picture = put(QStringLiteral("result.jpg"), redJpeg());
    const QString other = put(QStringLiteral("other.jpg"), redJpeg());
    ASSERT_TRUE(QFile::link(picture, in(QStringLiteral("link.jpg"))));
    const std::pair<QStringList, QString> cases[] = {
        {{picture, other, picture}, QStringLiteral("it is picture #1 itself")},
        {{other, picture, in(QStringLiteral("link.jpg"))}, QStringLiteral("it is the same file as picture #2, ") + picture},
    };
    for (const auto& [arguments, why] : cases) {
        const ProgramRun result = run(arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err.toStdString(),
                  QStringLiteral("vantelle-blend: Cannot write %1: %2, and a result never replaces one of its own pictures\n")
                      .arg(arguments[2], why)
                      .toStdString());
    }
    EXPECT_EQ(ContentOf(picture), redJpeg());
    EXPECT_TRUE(QFileInfo(in(QStringLiteral("link.jpg"))).isSymLink());
}

#ifdef Q_OS_UNIX
// A name whose bytes are not valid UTF-8 is refused with the reason, never read as "not
// found" and never written under another name; a file whose name holds the replacement
// character itself is not taken for it either.
TEST_F(BlendProgramTest, NamesThatAreNotValidUtf8AreRefusedAndNothingIsWrittenElsewhere)
{
    const QString red = put(QStringLiteral("red.jpg"), redJpeg());
    const FileNamedByBytes undecodable(QFile::encodeName(in(QStringLiteral("bad"))) + "\xff.jpg", redJpeg());
    ASSERT_TRUE(undecodable.created());
    put(QStringLiteral("bad\uFFFD.jpg"), redJpeg()); // what the undecodable name looks like once decoded
    const QStringList before = EntriesOf(folder.path());
    const QString bad = in(QStringLiteral("bad\\0377.jpg"));
    const QString reason = QStringLiteral("its name holds bytes that are not valid UTF-8 (shown as \uFFFD), and the "
                                          "program cannot name such a file exactly");
    const QString shown = in(QStringLiteral("bad\uFFFD.jpg"));
    const std::pair<QStringList, QString> cases[] = {
        {{bad, red, in(QStringLiteral("out.jpg"))}, QStringLiteral("Cannot load the picture %1: %2").arg(shown, reason)},
        {{red, bad, in(QStringLiteral("out.jpg"))}, QStringLiteral("Cannot load the picture %1: %2").arg(shown, reason)},
        {{red, red, in(QStringLiteral("new\\0377.jpg"))},
         QStringLiteral("Cannot write %1: %2").arg(in(QStringLiteral("new\uFFFD.jpg")), reason)},
    };
    for (const auto& [arguments, line] : cases) {
        const ProgramRun result = runWithBytes(arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err.toStdString(), ("vantelle-blend: " + line + '\n').toStdString());
    }
    EXPECT_EQ(EntriesOf(folder.path()).join(" | ").toStdString(), before.join(" | ").toStdString());

    // The same names in UTF-8 are used as they are.
    EXPECT_EQ(runWithBytes({red, in(QStringLiteral("bad\uFFFD.jpg")), in(QStringLiteral("new\uFFFD.jpg"))}).status, 0);
}
#endif

// Pictures that make the libraries below warn (a PNG chunk with a wrong checksum, stray bytes
// in a JPEG) blend in silence; a failure is one line, with no warning before it.
TEST_F(BlendProgramTest, LibraryWarningsNeverReachTheTerminal)
{
    QImage image(QSize(64, 48), QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));
    // After the header chunk: a text chunk whose checksum is wrong.
    png.insert(33, QByteArray("\0\0\0\4tEXtab\0c\0\0\0\0", 16));
    const QString warnsPng = put(QStringLiteral("warns.png"), png);
    QByteArray jpeg = redJpeg();
    jpeg.insert(jpeg.size() - 2, "\x11\x22\x33");
    const QString warnsJpeg = put(QStringLiteral("warns.jpg"), jpeg);

    ProgramRun result = run({warnsPng, warnsJpeg, in(QStringLiteral("out.jpg"))});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, QByteArray());
    EXPECT_EQ(DecodePictureFile(in(QStringLiteral("out.jpg")), CanvasSize).width, 729);

    const QString missing = in(QStringLiteral("missing.jpg"));
    result = run({warnsPng, missing, in(QStringLiteral("out.jpg"))});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.toStdString(), ("vantelle-blend: File not found: " + missing + '\n').toStdString());
}

// An empty name says that no file was named, and a name's control characters (a terminal's
// escape sequences, the bell, line breaks) show written out, so that the line stays one line
// and as it was written. The names themselves are used as they are.
TEST_F(BlendProgramTest, EmptyNamesAndControlCharactersInNamesAreShownInOneLine)
{
    const QString red = put(QStringLiteral("red.jpg"), redJpeg());
    const QString output = in(QStringLiteral("out.jpg"));
    struct Case {
        QStringList arguments;
        int status;
        QString line;
    };
    const Case cases[] = {
        {{QString(), red, output}, 1, QStringLiteral("File not found: no picture was named (PICTURE1 is empty)")},
        {{QStringLiteral("--side"), QStringLiteral("right"), red, QString(), output}, 1,
         QStringLiteral("File not found: no picture was named (PICTURE2 is empty)")},
        {{red, red, QString()}, 1, QStringLiteral("Cannot write: no output file was named (OUTPUT is empty)")},
        {{red, in(QStringLiteral("gone\x1b[2J\x1b[H\a\r\n.jpg")), output}, 1,
         QStringLiteral("File not found: ") + in(QStringLiteral("gone\\e[2J\\e[H\\a\\r\\n.jpg"))},
        {{red, red, in(QStringLiteral("out\x1b[1A\x07.tif"))}, 1,
         QStringLiteral("Cannot write %1: Invalid output file format (use .jpg, .jpeg, .png, .webp or .bmp)")
             .arg(in(QStringLiteral("out\\e[1A\\a.tif")))},
        {{QStringLiteral("--side"), QStringLiteral("\x1b[31mleft"), red, red, output}, 2,
         QStringLiteral("--side must be left, right, top or bottom, not \"\\e[31mleft\" (try --help)")},
    };
    for (const Case& c : cases) {
        const ProgramRun result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.line.toStdString();
        EXPECT_EQ(result.err.toStdString(), ("vantelle-blend: " + c.line + '\n').toStdString());
    }
    EXPECT_EQ(EntriesOf(folder.path()), QStringList{QStringLiteral("red.jpg")});

    const QString odd = put(QStringLiteral("red\x1b[2J\n.jpg"), redJpeg());
    const QString oddOutput = in(QStringLiteral("out\a\n.jpg"));
    EXPECT_EQ(run({odd, red, oddOutput}).status, 0);
    EXPECT_EQ(DecodePictureFile(oddOutput, CanvasSize).width, 729);
}

#ifdef Q_OS_UNIX
// Killed at any moment, a run leaves the earlier result or the complete new one.
TEST_F(BlendProgramTest, AKilledRunLeavesTheEarlierResultOrTheWholeNewOne)
{
    const QString red = put(QStringLiteral("red.jpg"), redJpeg());
    const QString output = in(QStringLiteral("result.jpg"));
    const QByteArray earlier = "the earlier result";
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(run({red, red, output}).status, 0);
    const QByteArray complete = ContentOf(output);
    const qint64 whole = timer.elapsed();

    for (int step = 0; step <= 12; ++step) {
        ASSERT_TRUE(PutFile(output, earlier));
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(VANTELLE_PROGRAM_DIR_IN_BUILD "/vantelle-blend"), {red, red, output});
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(whole * step / 12));
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        process.waitForFinished();
        const QByteArray left = ContentOf(output);
        EXPECT_TRUE(left == earlier || left == complete) << "killed after " << whole * step / 12 << " ms";
    }
}
#endif

// A wrong export option: one line, exit status 2, nothing written; the right one writes the
// picture at the size asked for.
TEST_F(BlendProgramTest, AWrongExportOptionWritesNothingAndTheRightOneWritesThatSize)
{
    const QString red = put(QStringLiteral("red.jpg"), redJpeg());
    const QString output = in(QStringLiteral("out.png"));
    for (const QStringList& options : {QStringList{"--size", "0x0"}, QStringList{"--fit", "fill"}, QStringList{"--quality", "0"}}) {
        const ProgramRun result = run(options + QStringList{red, red, output});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(output));
    }
    EXPECT_EQ(run({"--size", "1000x300", "--fit", "cover", red, red, output}).status, 0);
    EXPECT_EQ(QImage(output).size(), QSize(1000, 300));
}
