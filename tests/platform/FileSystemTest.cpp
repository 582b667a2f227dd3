#include "platform/FileSystem.h"

#include "job/FileFaults.h"
#include "platform/SpecialFiles.h"
#include "platform/WholeContent.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ReplacingWholeFileTest : public ::testing::Test {
protected:
    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir;
    const QString target = in(QStringLiteral("result ü.jpg"));
    const QByteArray earlier = QByteArrayLiteral("the earlier result");
    const QByteArray fresh = QByteArray(200000, 'n');
};

} // namespace

TEST_F(ReplacingWholeFileTest, WritesANewFileAndNothingElse)
{
    EXPECT_EQ(ReplaceWholeFile(target, fresh), std::nullopt);
    EXPECT_EQ(ContentOf(target), fresh);
    EXPECT_EQ(EntriesOf(dir.path()), QStringList{QStringLiteral("result ü.jpg")});
}

TEST_F(ReplacingWholeFileTest, ReplacesAnEarlierFileEvenWhenItIsReadOnly)
{
    for (const bool readOnly : {false, true}) {
        ASSERT_TRUE(PutFile(target, earlier));
        if (readOnly) {
            ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner));
        }
        EXPECT_EQ(ReplaceWholeFile(target, fresh), std::nullopt) << readOnly;
        EXPECT_EQ(ContentOf(target), fresh) << readOnly;
        EXPECT_EQ(EntriesOf(dir.path()).size(), 1) << readOnly;
        ASSERT_TRUE(QFile::remove(target));
    }
}

TEST_F(ReplacingWholeFileTest, AMissingFolderIsNamedAndNothingIsCreated)
{
    const std::optional<WriteError> error = ReplaceWholeFile(in(QStringLiteral("missing/result.jpg")), fresh);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->cause, WriteError::Cause::FolderMissing);
    EXPECT_TRUE(EntriesOf(dir.path()).isEmpty());
}

TEST_F(ReplacingWholeFileTest, AFolderInTheWayIsLeftAlone)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("result ü.jpg")));
    const std::optional<WriteError> error = ReplaceWholeFile(target, fresh);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->cause, WriteError::Cause::AccessDenied);
    EXPECT_TRUE(QFileInfo(target).isDir());
}

TEST_F(ReplacingWholeFileTest, AReadOnlyFolderKeepsItsEarlierFile)
{
    ASSERT_TRUE(PutFile(target, earlier));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (!ReadOnlyFolderRefusesFiles(dir.path())) {
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "folder permissions do not bind the user running the tests";
    }
    const std::optional<WriteError> error = ReplaceWholeFile(target, fresh);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    ASSERT_TRUE(error);
    EXPECT_EQ(error->cause, WriteError::Cause::AccessDenied);
    EXPECT_EQ(ContentOf(target), earlier);
    EXPECT_EQ(EntriesOf(dir.path()).size(), 1);
}

#ifdef Q_OS_UNIX
// The disk fills up part way through the new file: the earlier one stays whole, read-only as
// it was, and no temporary file is left beside it.
TEST_F(ReplacingWholeFileTest, AWriteThatFailsPartWayLeavesTheEarlierFileWhole)
{
    for (const bool readOnly : {false, true}) {
        ASSERT_TRUE(PutFile(target, earlier));
        if (readOnly) {
            ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner));
        }
        const QFileDevice::Permissions permissions = QFileInfo(target).permissions();
        std::optional<WriteError> error;
        {
            const FileSizeLimit fullDisk(4096);
            error = ReplaceWholeFile(target, fresh);
        }
        ASSERT_TRUE(error) << readOnly;
        EXPECT_EQ(error->cause, WriteError::Cause::WriteFailed) << readOnly;
        EXPECT_EQ(ContentOf(target), earlier) << readOnly;
        EXPECT_EQ(QFileInfo(target).permissions(), permissions) << readOnly;
        EXPECT_EQ(EntriesOf(dir.path()), QStringList{QStringLiteral("result ü.jpg")}) << readOnly;
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        ASSERT_TRUE(QFile::remove(target));
    }
}
#endif

#ifdef Q_OS_UNIX
namespace {

// Each thing in its own folder, named directly or through a symbolic link beside it.
class PathKindTest : public ::testing::Test {
protected:
    // The path to use for the thing, or empty text when it cannot be made here.
    QString place(Thing thing, bool throughLink)
    {
        const QString folder = dir.path() + QStringLiteral("/%1%2").arg(ThingName(thing)).arg(throughLink ? " link" : "");
        const QString path = folder + QStringLiteral("/result.jpg");
        return QDir().mkdir(folder) && MakeThingAt(thing, path, throughLink) ? path : QString();
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PathKindTest, KindOfFileLooksThroughLinksWithoutOpening)
{
    const std::pair<Thing, FileKind::Kind> cases[] = {
        {Thing::File, FileKind::File},     {Thing::Folder, FileKind::Folder}, {Thing::Pipe, FileKind::Pipe},
        {Thing::Socket, FileKind::Socket}, {Thing::Device, FileKind::Device}, {Thing::LinkLoop, FileKind::Unreachable},
    };
    for (const auto& [thing, kind] : cases) {
        for (const bool throughLink : {false, true}) {
            const QString path = place(thing, throughLink);
            if (path.isEmpty())
                continue; // a device node needs an administrator
            const FileKind found = KindOfFile(path);
            EXPECT_EQ(found.kind, kind) << ThingName(thing) << (throughLink ? " through a link" : "");
            EXPECT_EQ(found.reason.isEmpty(), kind != FileKind::Unreachable) << found.reason.toStdString();
        }
    }
    EXPECT_EQ(KindOfFile(dir.path() + QStringLiteral("/missing")).kind, FileKind::Absent);
    EXPECT_EQ(KindOfFile(dir.path() + QStringLiteral("/missing/deeper")).kind, FileKind::Absent);
    EXPECT_EQ(KindOfFile(QString()).kind, FileKind::Absent);
}

// The new file would take the place of what the name leads to: nothing but a file is ever
// replaced, and whatever is in the way stays as it was.
TEST_F(PathKindTest, AReplacingFileRefusesAllButAFileAndLeavesItAsItWas)
{
    struct Case {
        Thing thing;
        WriteError::Cause cause;
        const char* reason;
    };
    const Case cases[] = {
        {Thing::Folder, WriteError::Cause::AccessDenied, "a folder of that name is in the way"},
        {Thing::Pipe, WriteError::Cause::AccessDenied, "a named pipe (FIFO) of that name is in the way"},
        {Thing::Socket, WriteError::Cause::AccessDenied, "a socket of that name is in the way"},
        {Thing::Device, WriteError::Cause::AccessDenied, "a device of that name is in the way"},
        {Thing::LinkLoop, WriteError::Cause::WriteFailed, "Too many levels of symbolic links"},
    };
    for (const auto& [thing, cause, reason] : cases) {
        for (const bool throughLink : {false, true}) {
            const QString path = place(thing, throughLink);
            if (path.isEmpty())
                continue;
            SCOPED_TRACE(std::string(ThingName(thing)) + (throughLink ? " through a link" : ""));
            const QString folder = QFileInfo(path).absolutePath();
            const QStringList entries = EntriesOf(folder);
            const FileKind before = KindOfFile(path);

            const std::optional<WriteError> error = ReplaceWholeFile(path, QByteArrayLiteral("new"));
            ASSERT_TRUE(error);
            EXPECT_EQ(error->cause, cause);
            EXPECT_EQ(error->reason.toStdString(), reason);
            EXPECT_EQ(KindOfFile(path).kind, before.kind);
            EXPECT_EQ(QFileInfo(path).isSymLink(), throughLink || thing == Thing::LinkLoop);
            EXPECT_EQ(EntriesOf(folder), entries);
        }
    }
}

TEST_F(PathKindTest, ALinkToAFileStaysALinkAndItsFileIsReplacedWhole)
{
    const QString link = place(Thing::File, true);
    ASSERT_FALSE(link.isEmpty());
    const QString target = link + QStringLiteral(".target");
    EXPECT_EQ(ReplaceWholeFile(link, QByteArrayLiteral("new")), std::nullopt);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ContentOf(target), QByteArrayLiteral("new"));
    EXPECT_EQ(EntriesOf(QFileInfo(link).absolutePath()),
              (QStringList{QStringLiteral("result.jpg"), QStringLiteral("result.jpg.target")}));
}

// A link to a name that does not exist yet is written as today: the link stays and the file
// it names comes into being.
TEST_F(PathKindTest, ALinkToNothingYetGetsItsFile)
{
    const QString link = dir.path() + QStringLiteral("/result.jpg");
    ASSERT_TRUE(QFile::link(dir.path() + QStringLiteral("/later.jpg"), link));
    EXPECT_EQ(ReplaceWholeFile(link, QByteArrayLiteral("new")), std::nullopt);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ContentOf(dir.path() + QStringLiteral("/later.jpg")), QByteArrayLiteral("new"));
}

TEST_F(PathKindTest, SameFileFollowsNamesAndLinks)
{
    const QString picture = dir.path() + QStringLiteral("/picture.jpg");
    const QString other = dir.path() + QStringLiteral("/other.jpg");
    ASSERT_TRUE(PutFile(picture, "a picture"));
    ASSERT_TRUE(PutFile(other, "a picture"));
    ASSERT_TRUE(QFile::link(picture, dir.path() + QStringLiteral("/symbolic.jpg")));
    ASSERT_EQ(::link(QFile::encodeName(picture).constData(), QFile::encodeName(dir.path() + QStringLiteral("/hard.jpg")).constData()), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));

    const std::pair<const char*, bool> cases[] = {
        {"picture.jpg", true}, {"sub/../picture.jpg", true}, {"./picture.jpg", true}, {"symbolic.jpg", true},
        {"hard.jpg", true},    {"other.jpg", false},         {"missing.jpg", false},  {"", false},
    };
    for (const auto& [name, same] : cases) {
        const QString path = *name ? dir.path() + QLatin1Char('/') + QLatin1String(name) : QString();
        EXPECT_EQ(SameFile(path, picture), same) << name;
        EXPECT_EQ(SameFile(picture, path), same) << name;
    }
}
#endif
