#include "fakes/TestPictures.h"
#include "codecs/PictureDecoder.h"
#include "platform/SpecialFiles.h"
#include "core/Failure.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#ifdef Q_OS_UNIX
namespace {

class PictureFileKindTest : public ::testing::Test {
protected:
    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    static Failure failureOf(const QString& path)
    {
        try {
            DecodePictureFile(path, CanvasSize);
        } catch (const Failure& failure) {
            return failure;
        }
        return Failure(0, "loaded");
    }

    static QByteArray png()
    {
        QImage image(32, 24, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    QTemporaryDir dir;
};

} // namespace

// Only a file is opened. A pipe would hold the program until someone writes into it, a
// device may give bytes without end; each is refused at once, also at the end of a link.
TEST_F(PictureFileKindTest, AnythingButAFileIsRefusedWithoutOpeningIt)
{
    const std::pair<Thing, QString> cases[] = {
        {Thing::Folder, QStringLiteral("it is a folder, not a file")},
        {Thing::Pipe, QStringLiteral("it is a named pipe (FIFO), not a file")},
        {Thing::Socket, QStringLiteral("it is a socket, not a file")},
        {Thing::Device, QStringLiteral("it is a device, not a file")},
        {Thing::LinkLoop, QStringLiteral("Too many levels of symbolic links")},
    };
    for (const auto& [thing, cause] : cases) {
        for (const bool throughLink : {false, true}) {
            const QString path = in(QStringLiteral("%1%2.jpg").arg(ThingName(thing)).arg(throughLink ? " link" : ""));
            if (!MakeThingAt(thing, path, throughLink))
                continue; // a device node needs an administrator
            SCOPED_TRACE(std::string(ThingName(thing)) + (throughLink ? " through a link" : ""));
            std::optional<PipeRelease> release;
            if (thing == Thing::Pipe)
                release.emplace(path);
            const Failure failure = failureOf(path);
            EXPECT_EQ(failure.description(), "Cannot load the picture " + path.toStdString() + ": " + cause.toStdString());
            EXPECT_EQ(failure.path(), path.toStdString());
            EXPECT_EQ(failure.cause(), cause.toStdString());
        }
    }
}

// A name whose bytes are not valid UTF-8 reaches the program with those bytes replaced; the
// file exists, so "File not found" would be wrong, and the name says why it cannot be opened.
TEST_F(PictureFileKindTest, ANameThatCannotBeRepresentedSaysSoAndIsNotCalledMissing)
{
    const FileNamedByBytes file(QFile::encodeName(dir.path()) + "/red \xff\xfe.png", png());
    ASSERT_TRUE(file.created());
    const QString seen = file.seen();

    const Failure failure = failureOf(seen);
    EXPECT_EQ(failure.number(), FailureNumber::BadFileName);
    EXPECT_EQ(QString::fromStdString(failure.description()),
              QStringLiteral("Cannot load the picture %1: its name holds bytes that are not valid UTF-8 "
                             "(shown as \uFFFD), and the program cannot name such a file exactly")
                  .arg(seen));

    // A name that holds the replacement character itself is a name like any other.
    const QString replacement = in(QStringLiteral("red \uFFFD.png"));
    ASSERT_TRUE(MakeThing(Thing::File, replacement, png()));
    EXPECT_EQ(DecodePictureFile(replacement, CanvasSize).width, 32);
}

TEST_F(PictureFileKindTest, AFolderThatMayNotBeEnteredNamesTheSystemsReason)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("closed")));
    const QString path = in(QStringLiteral("closed/red.png"));
    ASSERT_TRUE(MakeThing(Thing::File, path, png()));
    ASSERT_TRUE(QFile::setPermissions(in(QStringLiteral("closed")), QFileDevice::WriteOwner));
    const bool bound = !QFileInfo::exists(path) && QFileInfo::exists(in(QStringLiteral("closed")));
    const Failure failure = failureOf(path);
    QFile::setPermissions(in(QStringLiteral("closed")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!bound)
        GTEST_SKIP() << "folder permissions do not bind the user running the tests";
    EXPECT_EQ(failure.description(), "Cannot load the picture " + path.toStdString() + ": Permission denied");
}
#endif
