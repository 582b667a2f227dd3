#include "platform/FileReplacement.h"
#include "platform/FileSystem.h"

#include "job/FileFaults.h"
#include "platform/WholeContent.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

TEST(SystemWriteError, SaysWhyInTheSystemsWordsAndNamesAReadOnlyFileSystem)
{
    struct Case {
        int error;
        WriteError::Cause cause;
        const char* reason;
    };
    const Case cases[] = {
        // The file's own mode may well allow writing: the file system is what refuses.
        {EROFS, WriteError::Cause::AccessDenied, "the folder is on a file system mounted read-only"},
        {EACCES, WriteError::Cause::AccessDenied, "Permission denied"},
        {EPERM, WriteError::Cause::AccessDenied, "Operation not permitted"},
        {ENOSPC, WriteError::Cause::WriteFailed, "No space left on device"},
        {EFBIG, WriteError::Cause::WriteFailed, "File too large"},
        {EIO, WriteError::Cause::WriteFailed, "Input/output error"},
    };
    for (const Case& c : cases) {
        const WriteError error = SystemWriteError(c.error);
        EXPECT_EQ(error.cause, c.cause) << c.reason;
        EXPECT_EQ(error.reason.toStdString(), c.reason);
    }
}

#ifdef Q_OS_UNIX
namespace {

class FileReplacementTest : public ::testing::Test {
protected:
    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir;
    const QString name = QStringLiteral("result ü.jpg");
    const QString target = in(name);
    const QByteArray earlier = QByteArrayLiteral("the earlier result");
    const QByteArray fresh = QByteArray(200000, 'n');
};

// The bytes of a name, as many as asked for: ASCII, or two-byte characters with ASCII to
// make up an odd count.
QString NameOfBytes(int bytes, bool wide)
{
    const QString extension = QStringLiteral(".jpg");
    const int stem = bytes - int(extension.size());
    return (wide ? QString(stem / 2, u'ü') + QString(stem % 2, u'n') : QString(stem, u'n')) + extension;
}

} // namespace

// The second write of a name needs a temporary name beside the first file: it fits for every
// name the system takes, up to the longest.
TEST_F(FileReplacementTest, NamesUpToTheLongestTheSystemTakesAreWrittenAgain)
{
    const long longest = ::pathconf(QFile::encodeName(dir.path()).constData(), _PC_NAME_MAX);
    ASSERT_GE(longest, 255);
    for (const int bytes : {5, 100, 200, 230, 240, 245, 248, 249, 250, 251, 252, 253, 254, 255}) {
        for (const bool wide : {false, true}) {
            const QString file = NameOfBytes(bytes, wide);
            ASSERT_EQ(QFile::encodeName(file).size(), bytes);
            for (const QByteArray& content : {earlier, fresh}) {
                EXPECT_EQ(ReplaceWholeFile(in(file), content), std::nullopt) << bytes;
                EXPECT_TRUE(ContentOf(in(file)) == content) << bytes;
            }
            EXPECT_EQ(EntriesOf(dir.path()), QStringList{file}) << bytes;
            ASSERT_TRUE(QFile::remove(in(file)));
        }
    }
}

// A path a few bytes short of the system's limit for a whole path is written again as well:
// no name of the write is longer than the file's own.
TEST_F(FileReplacementTest, APathNearTheSystemsLimitIsWrittenAgain)
{
    QString folder = dir.path();
    const QString step = QLatin1Char('/') + QString(200, u'd');
    constexpr int ShortestName = 50;
    while (QFile::encodeName(folder).size() + step.size() + 1 + ShortestName < PATH_MAX - 1)
        folder += step;
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const int shortOfTheLimit : {0, 1, 2, 8, 30}) {
        const int nameBytes = PATH_MAX - 1 - shortOfTheLimit - int(QFile::encodeName(folder).size()) - 1;
        const QString path = folder + QLatin1Char('/') + NameOfBytes(nameBytes, false);
        ASSERT_EQ(QFile::encodeName(path).size(), PATH_MAX - 1 - shortOfTheLimit);
        for (const QByteArray& content : {earlier, fresh}) {
            EXPECT_EQ(ReplaceWholeFile(path, content), std::nullopt) << shortOfTheLimit;
            EXPECT_TRUE(ContentOf(path) == content) << shortOfTheLimit;
        }
        EXPECT_EQ(EntriesOf(folder), QStringList{QFileInfo(path).fileName()}) << shortOfTheLimit;
        ASSERT_TRUE(QFile::remove(path));
    }
}

// What killed writes of the result left under its temporary names goes with the next write;
// a file that a live write holds, and whatever of those names the program did not make,
// stay.
TEST_F(FileReplacementTest, TheNextWriteRemovesWhatKilledWritesLeftAndNothingElse)
{
    const auto temporary = [this](const QString& file, int write) {
        return in(QFile::decodeName(TemporaryNameOf(QFile::encodeName(file), write)));
    };
    for (const WaitingContent way : {WaitingContent::Unnamed, WaitingContent::Named}) {
        SCOPED_TRACE(way == WaitingContent::Unnamed ? "unnamed" : "named");
        ASSERT_TRUE(PutFile(target, earlier));
        ASSERT_TRUE(PutFile(temporary(name, 0), "killed part way"));
        ASSERT_TRUE(PutFile(temporary(name, 7), "killed before its rename"));

        const QString live = temporary(name, 1);
        ASSERT_TRUE(PutFile(live, "under way"));
        QFile held(live);
        ASSERT_TRUE(held.open(QIODevice::ReadOnly));
        ASSERT_EQ(::flock(held.handle(), LOCK_EX), 0);

        const QString user = in(QStringLiteral("user.jpg"));
        ASSERT_TRUE(PutFile(user, "the user's"));
        ASSERT_TRUE(QFile::link(user, temporary(name, 2)));
        ASSERT_TRUE(QDir().mkdir(temporary(name, 3)));
        ASSERT_EQ(::link(QFile::encodeName(user).constData(), QFile::encodeName(temporary(name, 4)).constData()), 0);
        ASSERT_TRUE(PutFile(temporary(name, 5) + QStringLiteral(".jpg"), "a name alike"));
        // Another result's: its own next write takes care of it.
        ASSERT_TRUE(PutFile(temporary(QStringLiteral("other.jpg"), 0), "another result's"));
        QStringList kept = EntriesOf(dir.path());
        kept.removeAll(QFileInfo(temporary(name, 0)).fileName());
        kept.removeAll(QFileInfo(temporary(name, 7)).fileName());
        if (::geteuid() == 0) {
            ASSERT_TRUE(PutFile(temporary(name, 6), "another user's"));
            ASSERT_EQ(::chown(QFile::encodeName(temporary(name, 6)).constData(), 65534, 65534), 0);
            kept << QFileInfo(temporary(name, 6)).fileName();
        }

        EXPECT_EQ(ReplaceWholeContent(target, fresh, way), std::nullopt);
        EXPECT_TRUE(ContentOf(target) == fresh);
        const QStringList entries = EntriesOf(dir.path());
        EXPECT_EQ(QSet<QString>(entries.cbegin(), entries.cend()), QSet<QString>(kept.cbegin(), kept.cend()));
        EXPECT_EQ(ContentOf(live), QByteArrayLiteral("under way"));
        EXPECT_EQ(ContentOf(user), QByteArrayLiteral("the user's"));
        EXPECT_TRUE(QFileInfo(temporary(name, 2)).isSymLink());

        held.close();
        ASSERT_TRUE(QDir(dir.path()).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(dir.path()));
    }
}

namespace {

// A child process that writes the bytes to the file; it has begun once this returns.
pid_t StartWriting(const QString& path, const QByteArray& bytes, WaitingContent way)
{
    int begun[2];
    if (::pipe(begun) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(begun[0]);
        const char signal = 'w';
        if (::write(begun[1], &signal, 1) != 1)
            ::_exit(2);
        ::_exit(ReplaceWholeContent(path, bytes, way) ? 1 : 0);
    }
    ::close(begun[1]);
    char signal = 0;
    if (child > 0 && ::read(begun[0], &signal, 1) != 1)
        ::waitpid(child, nullptr, 0);
    ::close(begun[0]);
    return child;
}

} // namespace

// Killed at any moment, a write leaves the earlier file or the whole new one; whatever else it
// leaves is gone after the next write of the file.
TEST_F(FileReplacementTest, AWriteKilledAtAnyMomentLeavesNothingThatOutlivesTheNextWrite)
{
    const QByteArray large(16 << 20, 'k');
    for (const WaitingContent way : {WaitingContent::Unnamed, WaitingContent::Named}) {
        SCOPED_TRACE(way == WaitingContent::Unnamed ? "unnamed" : "named");
        QElapsedTimer timer;
        timer.start();
        const pid_t whole = StartWriting(target, large, way);
        ASSERT_GT(whole, 0);
        int status = -1;
        ::waitpid(whole, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const qint64 duration = timer.elapsed();

        int leftBehind = 0;
        constexpr int Steps = 8;
        for (int step = 0; step <= Steps; ++step) {
            ASSERT_TRUE(PutFile(target, earlier));
            const pid_t child = StartWriting(target, large, way);
            ASSERT_GT(child, 0);
            QThread::msleep(static_cast<unsigned long>(duration * step / Steps));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const QByteArray left = ContentOf(target);
            EXPECT_TRUE(left == earlier || left == large) << "killed after " << duration * step / Steps << " ms";
            leftBehind += EntriesOf(dir.path()).size() > 1;

            EXPECT_EQ(ReplaceWholeFile(target, fresh), std::nullopt);
            EXPECT_EQ(EntriesOf(dir.path()), QStringList{name}) << "killed after " << duration * step / Steps << " ms";
        }
        // A named file waits under its name for the whole write, and some kill came during one.
        if (way == WaitingContent::Named) {
            EXPECT_GT(leftBehind, 0);
        }
    }
}
#endif
