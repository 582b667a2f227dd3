#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

// Things in the file system that are not files, made for a test in a folder of its own, and
// files whose names are bytes that are not valid UTF-8.

inline bool MakePipe(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A socket's name stays in the folder after the socket is closed.
inline bool MakeSocket(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (static_cast<std::size_t>(name.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (socket < 0)
        return false;
    const bool bound = ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(socket);
    return bound;
}

// A node of the null device, where the system lets the user make one (an administrator may).
// It lies in the test's folder, so a program that wrongly replaces it harms nothing; never
// point a test at the system's own devices, which an administrator's test run would replace.
inline bool MakeDevice(const QString& path)
{
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
}

// What a name in a test's folder is made to be.
enum class Thing { File, Folder, Pipe, Socket, Device, LinkLoop };

inline const char* ThingName(Thing thing)
{
    switch (thing) {
    case Thing::File:
        return "file";
    case Thing::Folder:
        return "folder";
    case Thing::Pipe:
        return "pipe";
    case Thing::Socket:
        return "socket";
    case Thing::Device:
        return "device";
    case Thing::LinkLoop:
        return "link loop";
    }
    return "";
}

// Makes the thing at path; false when the system does not let the test make it (only an
// administrator may make a device node). A file holds the given bytes.
inline bool MakeThing(Thing thing, const QString& path, const QByteArray& fileBytes = "the earlier result")
{
    switch (thing) {
    case Thing::File: {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(fileBytes) == fileBytes.size();
    }
    case Thing::Folder:
        return QDir().mkdir(path);
    case Thing::Pipe:
        return MakePipe(path);
    case Thing::Socket:
        return MakeSocket(path);
    case Thing::Device:
        return MakeDevice(path);
    case Thing::LinkLoop:
        return QFile::link(path + QStringLiteral(".other"), path) && QFile::link(path, path + QStringLiteral(".other"));
    }
    return false;
}

// Makes the thing at path itself, or beside it as "<path>.target" with path a symbolic link to
// it.
inline bool MakeThingAt(Thing thing, const QString& path, bool throughLink,
                        const QByteArray& fileBytes = "the earlier result")
{
    if (!throughLink)
        return MakeThing(thing, path, fileBytes);
    const QString target = path + QStringLiteral(".target");
    return MakeThing(thing, target, fileBytes) && QFile::link(target, path);
}

// A file under a name given as bytes, removed again when the object goes: a temporary
// folder's own clean-up sees the name as the program does, and cannot remove it. `seen` is
// what the system's name decoding makes of the bytes.
class FileNamedByBytes {
public:
    FileNamedByBytes(const QByteArray& name, const QByteArray& bytes) : name_(name)
    {
        const int file = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (file < 0)
            return;
        created_ = ::write(file, bytes.constData(), static_cast<std::size_t>(bytes.size())) == bytes.size();
        ::close(file);
    }
    ~FileNamedByBytes() { ::unlink(name_.constData()); }
    FileNamedByBytes(const FileNamedByBytes&) = delete;
    FileNamedByBytes& operator=(const FileNamedByBytes&) = delete;

    bool created() const { return created_; }
    QString seen() const { return QFile::decodeName(name_); }

private:
    QByteArray name_;
    bool created_ = false;
};

// While it lives, whoever waits on opening the pipe for reading is let go: a writer end is
// opened and closed again as soon as a reader waits, so the reader sees an empty file. Code
// that wrongly opens a pipe then fails its test instead of hanging it.
class PipeRelease {
public:
    explicit PipeRelease(const QString& path)
        : thread_([this, name = QFile::encodeName(path)] {
              while (!stop_) {
                  const int writer = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (writer >= 0)
                      ::close(writer);
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          })
    {
    }
    ~PipeRelease()
    {
        stop_ = true;
        thread_.join();
    }
    PipeRelease(const PipeRelease&) = delete;
    PipeRelease& operator=(const PipeRelease&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
#endif
