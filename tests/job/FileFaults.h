#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <csignal>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

// Ways for a test to make the file system refuse a write, and to look at what it left.

inline QByteArray ContentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool PutFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every entry of a folder, hidden ones included, so that a leftover temporary file shows.
inline QStringList EntriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Whether the permissions of a read-only folder hold for the user running the tests (they do
// not for an administrator).
inline bool ReadOnlyFolderRefusesFiles(const QString& folder)
{
    QFile probe(folder + QStringLiteral("/probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        return false;
    }
    return true;
}

#ifdef Q_OS_UNIX
// While it lives, no file of the process may grow beyond the limit: a write past it fails as
// on a full disk, part way through.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};
#endif

#ifdef Q_OS_LINUX
// While it lives, the folder is a disk of its own with room for only so many KiB, where the
// system lets the test mount one (an administrator may): a write past it fails as on a full
// disk, with the system's own reason.
class SmallDisk {
public:
    SmallDisk(const QString& folder, int kib) : folder_(QFile::encodeName(folder))
    {
        const QByteArray options = "size=" + QByteArray::number(kib) + "k";
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC,
                           options.constData())
                   == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }

    // From now on nothing on the disk may be written, whatever the files' own permissions.
    bool makeReadOnly() const
    {
        return mounted_
               && ::mount("tmpfs", folder_.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV | MS_NOEXEC,
                          nullptr)
                      == 0;
    }

private:
    QByteArray folder_;
    bool mounted_ = false;
};
#endif
