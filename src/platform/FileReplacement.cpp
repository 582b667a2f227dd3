#include "platform/FileReplacement.h"

#ifdef Q_OS_UNIX

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdint>
#include <limits>
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
    int release() { return std::exchange(descriptor_, -1); }
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

// A write that stops part way (the disk is full) returns what it wrote; the write of the rest
// then fails with the system's reason.
template <typename Step>
int writeAllOf(const char* bytes, std::size_t size, Step step)
{
    for (std::size_t written = 0; written < size;) {
        const ssize_t done = step(bytes + written, size - written, written);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return done < 0 ? lastError() : EIO;
        written += static_cast<std::size_t>(done);
    }
    return 0;
}

// A file that replaces an earlier one keeps its permissions, writable by its owner.
int takeEarlierMode(int file, const std::optional<mode_t>& earlierMode)
{
    return !earlierMode || ::fchmod(file, (*earlierMode & 0777) | S_IWUSR) == 0 ? 0 : lastError();
}

struct Temporary {
    int file = -1;
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
                return {-1, {}, lastError()};
            }
            holdWhileWriting(file.get());
            struct stat held {};
            if (::fstat(file.get(), &held) != 0)
                return {-1, {}, lastError()};
            if (held.st_nlink > 0)
                return {file.release(), name, 0};
        }
    }
    return {-1, {}, EEXIST};
}

#ifdef O_TMPFILE
// The entry of an open file in /proc, through which an unnamed file gets its name.
QByteArray entryOf(int file)
{
    return "/proc/self/fd/" + QByteArray::number(file);
}

// An unnamed file in the folder that can be given a name once it is complete, or -1 with the
// error number: 0 when the file system cannot make one or the system cannot name it later
// (no /proc), and a named file must take its place.
int createUnnamed(int folder, int& error)
{
    Descriptor file(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (!file) {
        // A file system without unnamed files says so; any other refusal would hold for a
        // named file as well.
        error = errno == EOPNOTSUPP || errno == EISDIR ? 0 : lastError();
        return -1;
    }
    struct stat entry {};
    if (::lstat(entryOf(file.get()).constData(), &entry) != 0) {
        error = 0;
        return -1;
    }
    holdWhileWriting(file.get());
    return file.release();
}

// Names the complete unnamed file in the first free place: 0, or the error number, EEXIST when
// every temporary name is taken.
int nameUnnamed(int file, int folder, const QByteArray& fileName, QByteArray& name)
{
    const QByteArray entry = entryOf(file);
    for (int write = 0; write < ConcurrentWrites; ++write) {
        QByteArray candidate = TemporaryNameOf(fileName, write);
        if (::linkat(AT_FDCWD, entry.constData(), folder, candidate.constData(), AT_SYMLINK_FOLLOW) == 0) {
            name = std::move(candidate);
            return 0;
        }
        if (errno != EEXIST)
            return lastError();
    }
    return EEXIST;
}
#endif

// Every temporary name of the file is held by a live write.
WriteError allPlacesTaken()
{
    return {WriteError::Cause::WriteFailed, QStringLiteral("%1 other writes of the file are under way").arg(ConcurrentWrites)};
}

WriteError placeError(int error)
{
    return error == EEXIST ? allPlacesTaken() : SystemWriteError(error);
}

} // namespace

QByteArray TemporaryNameOf(const QByteArray& fileName, int write)
{
    const QByteArray digest = QCryptographicHash::hash(fileName, QCryptographicHash::Sha256).left(8).toHex();
    return ".vantelle-" + digest + '-' + QByteArray::number(write, 16) + ".part";
}

ContentReplacement::ContentReplacement(const QString& path, WaitingContent way)
{
    const QFileInfo file = fileBehindLinks(path);
    folder_ = ::open(QFile::encodeName(file.absolutePath()).constData(), FolderAccess);
    if (folder_ < 0) {
        refusal_ = SystemWriteError(lastError());
        return;
    }
    fileName_ = QFile::encodeName(file.fileName());

    struct stat earlier {};
    std::optional<mode_t> earlierMode;
    if (::fstatat(folder_, fileName_.constData(), &earlier, 0) == 0 && S_ISREG(earlier.st_mode))
        earlierMode = earlier.st_mode;
    clearLeftOvers(folder_, fileName_);

#ifdef O_TMPFILE
    if (way == WaitingContent::Unnamed) {
        int error = 0;
        file_ = createUnnamed(folder_, error);
        if (error != 0) {
            refusal_ = SystemWriteError(error);
            return;
        }
    }
#else
    Q_UNUSED(way);
#endif
    if (file_ < 0) {
        Temporary temporary = createNamed(folder_, fileName_);
        if (temporary.file < 0) {
            refusal_ = placeError(temporary.error);
            return;
        }
        file_ = temporary.file;
        temporaryName_ = std::move(temporary.name);
    }
    if (const int error = takeEarlierMode(file_, earlierMode))
        refusal_ = SystemWriteError(error);
}

ContentReplacement::~ContentReplacement()
{
    // Removed while it is still locked, so that no cleaner takes a live write's name meanwhile.
    if (!temporaryName_.isEmpty() && !committed_)
        ::unlinkat(folder_, temporaryName_.constData(), 0);
    if (file_ >= 0)
        ::close(file_);
    if (folder_ >= 0)
        ::close(folder_);
}

int ContentReplacement::append(const char* bytes, std::size_t size)
{
    return writeAllOf(bytes, size, [this](const char* from, std::size_t count, std::size_t) {
        return ::write(file_, from, count);
    });
}

int ContentReplacement::writeAt(std::uint64_t offset, const char* bytes, std::size_t size)
{
    constexpr std::uint64_t LargestOffset = std::uint64_t(std::numeric_limits<off_t>::max());
    if (size > LargestOffset || offset > LargestOffset - size)
        return EFBIG;
    return writeAllOf(bytes, size, [this, offset](const char* from, std::size_t count, std::size_t written) {
        return ::pwrite(file_, from, count, off_t(offset + written));
    });
}

std::optional<WriteError> ContentReplacement::commit()
{
    if (refusal_)
        return refusal_;
    if (committed_ || file_ < 0)
        return SystemWriteError(EBADF);
    if (::fsync(file_) != 0)
        return SystemWriteError(lastError());
#ifdef O_TMPFILE
    if (temporaryName_.isEmpty())
        if (const int error = nameUnnamed(file_, folder_, fileName_, temporaryName_))
            return placeError(error);
#endif
    if (::renameat(folder_, temporaryName_.constData(), folder_, fileName_.constData()) != 0)
        return SystemWriteError(lastError());
    committed_ = true;
    // The rename itself reaches the disk with the folder's own data.
    if (const Descriptor listing(::openat(folder_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)); listing)
        ::fsync(listing.get());
    return std::nullopt;
}


#endif
