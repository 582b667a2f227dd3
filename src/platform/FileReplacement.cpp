#include "platform/FileReplacement.h"

#ifdef Q_OS_UNIX

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folder is only ever named relative to, never read: a folder that may be written and
// entered but not listed still takes the file. Every name then stays relative to it, so a
// path near the system's length limit is no longer than its file's own name.
#ifdef O_PATH
constexpr int FolderAccess = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int FolderAccess = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// The deepest chain of symbolic links the system itself follows.
constexpr int LinkDepth = 40;

class Descriptor {
public:
    explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
    ~Descriptor()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(descriptor_, other.descriptor_);
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return descriptor_; }
    explicit operator bool() const { return descriptor_ >= 0; }

private:
    int descriptor_;
};

// The file that a chain of symbolic links leads to, whether it exists yet or not.
QFileInfo fileBehindLinks(const QString& path)
{
    QFileInfo file(path);
    for (int depth = 0; depth < LinkDepth && file.isSymLink(); ++depth)
        file.setFile(file.symLinkTarget());
    return file;
}

// Locked from before a cleaner can see its name until it is renamed or removed: a write that
// is killed lets go of the lock with its process, and only then is its file taken for left
// over. Where the file system has no locks, a file is never taken for left over.
void holdWhileWriting(int file)
{
    while (::flock(file, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// Opens a left-over candidate without following a link; a file that a killed write made
// read-only for its owner can still be opened for writing, and the other way round.
Descriptor openCandidate(int folder, const char* name)
{
    constexpr int Flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    Descriptor file(::openat(folder, name, O_RDONLY | Flags));
    if (!file && errno == EACCES)
        file = Descriptor(::openat(folder, name, O_WRONLY | Flags));
    return file;
}

bool sameEntry(const struct stat& first, const struct stat& second)
{
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Whether the temporary name is free: nothing has it, or what had it was left by a killed
// write and is gone now. Anything else of that name (a link, a folder, a file of another
// user or with a second name, one that a live write holds) stays as it is.
bool clearLeftOver(int folder, const char* name)
{
    struct stat named {};
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISREG(named.st_mode) || named.st_uid != ::geteuid() || named.st_nlink != 1)
        return false;
    const Descriptor file = openCandidate(folder, name);
    struct stat opened {};
    if (!file || ::fstat(file.get(), &opened) != 0 || !sameEntry(named, opened))
        return false;
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    // Still the same file under the name, now that no write can take it any more.
    struct stat now {};
    if (::fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) != 0 || !sameEntry(now, opened))
        return false;
    return ::unlinkat(folder, name, 0) == 0 || errno == ENOENT;
}

void clearLeftOvers(int folder, const QByteArray& fileName)
{
    for (int write = 0; write < ConcurrentWrites; ++write)
        clearLeftOver(folder, TemporaryNameOf(fileName, write).constData());
}

// The error number of a failed step; a write never fails without one.
int lastError()
{
    return errno != 0 ? errno : EIO;
}

int writeAll(int file, const QByteArray& bytes)
{
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t step = ::write(file, bytes.constData() + written, std::size_t(bytes.size() - written));
        if (step < 0 && errno == EINTR)
            continue;
        // A write that stops part way (the disk is full) returns what it wrote; the write of
        // the rest then fails with the system's reason.
        if (step <= 0)
            return step < 0 ? lastError() : EIO;
        written += step;
    }
    return 0;
}

// The new content, complete and on the disk before it may take the file's place. A file that
// replaces an earlier one keeps its permissions, writable by its owner.
int fill(int file, const QByteArray& bytes, const std::optional<mode_t>& earlierMode)
{
    if (earlierMode && ::fchmod(file, (*earlierMode & 0777) | S_IWUSR) != 0)
        return lastError();
    if (const int error = writeAll(file, bytes))
        return error;
    return ::fsync(file) == 0 ? 0 : lastError();
}

struct Temporary {
    Descriptor file;
    QByteArray name; // empty while the file has none
    int error = 0;   // why there is no file; EEXIST when every temporary name is taken
};

// A named temporary file in the first free place. A cleaner may remove a file in the moment
// between its creation and its lock; such a file has lost its name, and a new one is made.
Temporary createNamed(int folder, const QByteArray& fileName)
{
    for (int write = 0; write < ConcurrentWrites; ++write) {
        const QByteArray name = TemporaryNameOf(fileName, write);
        for (;;) {
            Descriptor file(::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            if (!file) {
                if (errno == EEXIST)
                    break;
                return {Descriptor(), {}, lastError()};
            }
            holdWhileWriting(file.get());
            struct stat held {};
            if (::fstat(file.get(), &held) != 0)
                return {Descriptor(), {}, lastError()};
            if (held.st_nlink > 0)
                return {std::move(file), name, 0};
        }
    }
    return {Descriptor(), {}, EEXIST};
}

#ifdef O_TMPFILE
// Gives the unnamed file a name in the folder: through its entry in /proc, else through the
// descriptor itself (which needs a privilege). 0, or the error number.
int linkUnnamed(int file, int folder, const char* name)
{
    char entry[40];
    std::snprintf(entry, sizeof entry, "/proc/self/fd/%d", file);
    if (::linkat(AT_FDCWD, entry, folder, name, AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != ENOENT)
        return lastError();
    return ::linkat(file, "", folder, name, AT_EMPTY_PATH) == 0 ? 0 : lastError();
}

// Names the complete unnamed file in the first free place: 0, or the error number, EEXIST when
// every temporary name is taken and ENOENT when this system cannot name an unnamed file.
int nameUnnamed(Temporary& temporary, int folder, const QByteArray& fileName)
{
    for (int write = 0; write < ConcurrentWrites; ++write) {
        QByteArray name = TemporaryNameOf(fileName, write);
        const int error = linkUnnamed(temporary.file.get(), folder, name.constData());
        if (error == 0) {
            temporary.name = std::move(name);
            return 0;
        }
        if (error != EEXIST)
            return error;
    }
    return EEXIST;
}
#endif

// Every temporary name of the file is held by a live write.
WriteError allPlacesTaken()
{
    return {WriteError::Cause::WriteFailed, QStringLiteral("%1 other writes of the file are under way").arg(ConcurrentWrites)};
}

// Puts the complete temporary file in the file's place, or removes it.
std::optional<WriteError> replaceWith(const Temporary& temporary, int folder, const QByteArray& fileName)
{
    if (::renameat(folder, temporary.name.constData(), folder, fileName.constData()) != 0) {
        const int error = lastError();
        ::unlinkat(folder, temporary.name.constData(), 0);
        return SystemWriteError(error);
    }
    // The rename itself reaches the disk with the folder's own data.
    if (const Descriptor listing(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)); listing)
        ::fsync(listing.get());
    return std::nullopt;
}

std::optional<WriteError> writeThroughNamed(int folder, const QByteArray& fileName, const QByteArray& bytes,
                                            const std::optional<mode_t>& earlierMode)
{
    const Temporary temporary = createNamed(folder, fileName);
    if (!temporary.file)
        return temporary.error == EEXIST ? allPlacesTaken() : SystemWriteError(temporary.error);
    if (const int error = fill(temporary.file.get(), bytes, earlierMode)) {
        ::unlinkat(folder, temporary.name.constData(), 0);
        return SystemWriteError(error);
    }
    return replaceWith(temporary, folder, fileName);
}

} // namespace

QByteArray TemporaryNameOf(const QByteArray& fileName, int write)
{
    const QByteArray digest = QCryptographicHash::hash(fileName, QCryptographicHash::Sha256).left(8).toHex();
    return ".vantelle-" + digest + '-' + QByteArray::number(write, 16) + ".part";
}

std::optional<WriteError> ReplaceFileContent(const QString& path, const QByteArray& bytes, WaitingContent way)
{
    const QFileInfo file = fileBehindLinks(path);
    const Descriptor folder(::open(QFile::encodeName(file.absolutePath()).constData(), FolderAccess));
    if (!folder)
        return SystemWriteError(lastError());
    const QByteArray fileName = QFile::encodeName(file.fileName());

    struct stat earlier {};
    std::optional<mode_t> earlierMode;
    if (::fstatat(folder.get(), fileName.constData(), &earlier, 0) == 0 && S_ISREG(earlier.st_mode))
        earlierMode = earlier.st_mode;
    clearLeftOvers(folder.get(), fileName);

#ifdef O_TMPFILE
    if (way == WaitingContent::Unnamed) {
        Temporary temporary;
        temporary.file = Descriptor(::openat(folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        const int refusal = temporary.file ? 0 : lastError();
        // A file system without unnamed files says so; any other refusal would hold for a
        // named file as well.
        if (refusal != 0 && refusal != EOPNOTSUPP && refusal != EISDIR)
            return SystemWriteError(refusal);
        if (temporary.file) {
            holdWhileWriting(temporary.file.get());
            if (const int error = fill(temporary.file.get(), bytes, earlierMode))
                return SystemWriteError(error);
            const int error = nameUnnamed(temporary, folder.get(), fileName);
            if (error == 0)
                return replaceWith(temporary, folder.get(), fileName);
            if (error != ENOENT)
                return error == EEXIST ? allPlacesTaken() : SystemWriteError(error);
        }
    }
#else
    Q_UNUSED(way);
#endif
    return writeThroughNamed(folder.get(), fileName, bytes, earlierMode);
}

#endif
