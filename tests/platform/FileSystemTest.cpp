#include "platform/FileSystem.h"

#include "job/FileFaults.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class WriteFileReplacingTest : public ::testing::Test {
protected:
    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir;
    const QString target = in(QStringLiteral("result ü.jpg"));
    const QByteArray earlier = QByteArrayLiteral("the earlier result");
    const QByteArray fresh = QByteArray(200000, 'n');
};

} // namespace

TEST_F(WriteFileReplacingTest, WritesANewFileAndNothingElse)
{
    EXPECT_EQ(WriteFileReplacing(target, fresh), std::nullopt);
    EXPECT_EQ(ContentOf(target), fresh);
    EXPECT_EQ(EntriesOf(dir.path()), QStringList{QStringLiteral("result ü.jpg")});
}

TEST_F(WriteFileReplacingTest, ReplacesAnEarlierFileEvenWhenItIsReadOnly)
{
    for (const bool readOnly : {false, true}) {
        ASSERT_TRUE(PutFile(target, earlier));
        if (readOnly) {
            ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner));
        }
        EXPECT_EQ(WriteFileReplacing(target, fresh), std::nullopt) << readOnly;
        EXPECT_EQ(ContentOf(target), fresh) << readOnly;
        EXPECT_EQ(EntriesOf(dir.path()).size(), 1) << readOnly;
        ASSERT_TRUE(QFile::remove(target));
    }
}

TEST_F(WriteFileReplacingTest, AMissingFolderIsNamedAndNothingIsCreated)
{
    const std::optional<WriteError> error = WriteFileReplacing(in(QStringLiteral("missing/result.jpg")), fresh);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->cause, WriteError::Cause::FolderMissing);
    EXPECT_TRUE(EntriesOf(dir.path()).isEmpty());
}

TEST_F(WriteFileReplacingTest, AFolderInTheWayIsLeftAlone)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("result ü.jpg")));
    const std::optional<WriteError> error = WriteFileReplacing(target, fresh);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->cause, WriteError::Cause::AccessDenied);
    EXPECT_TRUE(QFileInfo(target).isDir());
}

TEST_F(WriteFileReplacingTest, AReadOnlyFolderKeepsItsEarlierFile)
{
    ASSERT_TRUE(PutFile(target, earlier));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (!ReadOnlyFolderRefusesFiles(dir.path())) {
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "folder permissions do not bind the user running the tests";
    }
    const std::optional<WriteError> error = WriteFileReplacing(target, fresh);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    ASSERT_TRUE(error);
    EXPECT_EQ(error->cause, WriteError::Cause::AccessDenied);
    EXPECT_EQ(ContentOf(target), earlier);
    EXPECT_EQ(EntriesOf(dir.path()).size(), 1);
}

#ifdef Q_OS_UNIX
// The disk fills up part way through the new file: the earlier one stays whole, read-only as
// it was, and no temporary file is left beside it.
TEST_F(WriteFileReplacingTest, AWriteThatFailsPartWayLeavesTheEarlierFileWhole)
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
            error = WriteFileReplacing(target, fresh);
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
