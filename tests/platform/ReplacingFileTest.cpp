#include "platform/ReplacingFile.h"

#include "job/FileFaults.h"

#ifdef Q_OS_UNIX
#include "platform/FileReplacement.h"
#endif

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

class ReplacingFileTest : public ::testing::Test {
protected:
    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir;
    const QString name = QStringLiteral("result ü.bmp");
    const QString target = in(name);
    const QByteArray earlier = QByteArrayLiteral("the earlier result");
};

// Bytes that differ at every position, so that a piece written twice or out of place shows.
QByteArray Numbered(qsizetype size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + seed * 31 + i / 251) & 0xff);
    return bytes;
}

} // namespace

// Pieces smaller than the buffer, filling it exactly and larger than it, followed by bytes put
// at offsets behind them: the file holds each where it was put, and only once it is committed.
TEST_F(ReplacingFileTest, AppendedPiecesAndBytesAtOffsetsMakeTheFileOnceCommitted)
{
    ASSERT_TRUE(PutFile(target, earlier));
    constexpr qsizetype Buffer = qsizetype(ReplacingFile::BufferBytes);
    const qsizetype sizes[] = {0, 1, 54, 1000, Buffer - 1055, Buffer, 3, Buffer + 17, 2 * Buffer + 5, 200};
    QByteArray expected;
    ReplacingFile file(target);
    ASSERT_EQ(file.error(), std::nullopt);
    for (int i = 0; i < int(std::size(sizes)); ++i) {
        const QByteArray piece = Numbered(sizes[i], i);
        ASSERT_TRUE(file.append(piece.constData(), std::size_t(piece.size()))) << sizes[i];
        expected += piece;
    }
    // Beyond the end, with a gap, then into the gap: what nothing fills reads as zeros.
    const QByteArray far = Numbered(300000, 50), near = Numbered(1000, 51);
    const qsizetype farAt = expected.size() + 5000;
    ASSERT_TRUE(file.writeAt(std::uint64_t(farAt), far.constData(), std::size_t(far.size())));
    ASSERT_TRUE(file.writeAt(std::uint64_t(expected.size()), near.constData(), std::size_t(near.size())));
    expected += near + QByteArray(farAt - expected.size() - near.size(), '\0') + far;
    // Over what was appended before.
    const QByteArray header = Numbered(54, 52);
    ASSERT_TRUE(file.writeAt(0, header.constData(), std::size_t(header.size())));
    expected.replace(0, header.size(), header);

    EXPECT_EQ(ContentOf(target), earlier);
    EXPECT_EQ(EntriesOf(dir.path()), QStringList{name});
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(file.error(), std::nullopt);
    EXPECT_TRUE(ContentOf(target) == expected);
    EXPECT_EQ(EntriesOf(dir.path()), QStringList{name});
}

// Given up at any step before its commit, the new file leaves nothing and the earlier one
// stays whole.
TEST_F(ReplacingFileTest, AFileGoneBeforeItsCommitLeavesNothing)
{
    const QByteArray large = Numbered(3 * qsizetype(ReplacingFile::BufferBytes), 1);
    const std::pair<const char*, std::function<void(ReplacingFile&)>> steps[] = {
        {"opened", [](ReplacingFile&) {}},
        {"buffered", [](ReplacingFile& file) { file.append("row", 3); }},
        {"written", [&](ReplacingFile& file) { file.append(large.constData(), std::size_t(large.size())); }},
        {"put at an offset", [&](ReplacingFile& file) { file.writeAt(100, large.constData(), std::size_t(large.size())); }},
    };
    for (const bool hadEarlier : {true, false}) {
        for (const auto& [step, take] : steps) {
            if (hadEarlier) {
                ASSERT_TRUE(PutFile(target, earlier));
            }
            {
                ReplacingFile file(target);
                take(file);
                EXPECT_EQ(file.error(), std::nullopt) << step;
            }
            EXPECT_EQ(EntriesOf(dir.path()), hadEarlier ? QStringList{name} : QStringList()) << step;
            EXPECT_EQ(ContentOf(target), hadEarlier ? earlier : QByteArray()) << step;
        }
        QFile::remove(target);
    }
}

#ifdef Q_OS_UNIX
// Content that waits under a temporary name is removed when it goes uncommitted, as well as
// content that waits without one.
TEST_F(ReplacingFileTest, UncommittedContentOfEitherWayLeavesNothing)
{
    const QByteArray bytes = Numbered(100000, 2);
    for (const WaitingContent way : {WaitingContent::Unnamed, WaitingContent::Named}) {
        ASSERT_TRUE(PutFile(target, earlier));
        {
            ContentReplacement content(target, way);
            ASSERT_EQ(content.refusal(), std::nullopt);
            EXPECT_EQ(content.append(bytes.constData(), std::size_t(bytes.size())), 0);
            EXPECT_EQ(EntriesOf(dir.path()).size(), way == WaitingContent::Named ? 2 : 1);
        }
        EXPECT_EQ(EntriesOf(dir.path()), QStringList{name});
        EXPECT_EQ(ContentOf(target), earlier);
    }
}

// The file system refuses part way, once a few buffers are written: every later step fails
// with the system's reason, and the earlier file stays whole with nothing beside it.
TEST_F(ReplacingFileTest, AWriteRefusedPartWayKeepsTheEarlierFileAndSaysWhy)
{
    const auto fill = [](ReplacingFile& file) {
        const QByteArray row = Numbered(10000, 3);
        int rows = 0;
        while (rows < 1000 && file.append(row.constData(), std::size_t(row.size())))
            ++rows;
        EXPECT_GT(rows, 25); // past the first buffer, which the system took
        EXPECT_LT(rows, 1000);
        EXPECT_FALSE(file.append("x", 1));
        EXPECT_FALSE(file.writeAt(0, "x", 1));
        EXPECT_FALSE(file.commit());
    };
    {
        ASSERT_TRUE(PutFile(target, earlier));
        std::optional<WriteError> error;
        {
            const FileSizeLimit fullDisk(1 << 20);
            ReplacingFile file(target);
            fill(file);
            error = file.error();
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->cause, WriteError::Cause::WriteFailed);
        EXPECT_EQ(error->reason.toStdString(), "File too large");
        EXPECT_EQ(ContentOf(target), earlier);
        EXPECT_EQ(EntriesOf(dir.path()), QStringList{name});
    }
#ifdef Q_OS_LINUX
    const QString folder = in(QStringLiteral("small disk"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("small disk")));
    const SmallDisk disk(folder, 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "the user running the tests may not mount a disk";
    const QString onDisk = folder + QLatin1Char('/') + name;
    ASSERT_TRUE(PutFile(onDisk, earlier));
    ReplacingFile file(onDisk);
    fill(file);
    ASSERT_TRUE(file.error());
    EXPECT_EQ(file.error()->reason.toStdString(), "No space left on device");
    EXPECT_EQ(ContentOf(onDisk), earlier);
    EXPECT_EQ(EntriesOf(folder), QStringList{name});
#endif
}
#endif

// Refused at its opening, a file takes no step and says why each time.
TEST_F(ReplacingFileTest, ARefusedFileTakesNoStep)
{
    ReplacingFile file(in(QStringLiteral("missing/result.bmp")));
    ASSERT_TRUE(file.error());
    EXPECT_EQ(file.error()->cause, WriteError::Cause::FolderMissing);
    EXPECT_FALSE(file.append("x", 1));
    EXPECT_FALSE(file.writeAt(0, "x", 1));
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(file.error()->cause, WriteError::Cause::FolderMissing);
    EXPECT_TRUE(EntriesOf(dir.path()).isEmpty());
}
