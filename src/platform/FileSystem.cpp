#include "platform/FileSystem.h"

#include "platform/FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#ifndef Q_OS_UNIX
#include <QSaveFile>
#endif

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path systemPath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    const QByteArray name = QFile::encodeName(path);
    return std::filesystem::path(std::string(name.constData(), static_cast<std::size_t>(name.size())));
#endif
}

} // namespace

QString ProgramFilePath(const QString& programFolder, std::initializer_list<const char*> names)
{
    QString path = programFolder;
    for (const char* name : names)
        path += NativePaths.separator + QString::fromUtf8(name);
    return path;
}

bool FolderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

FileKind KindOfFile(const QString& path)
{
    if (path.isEmpty())
        return {FileKind::Absent, {}};
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(systemPath(path), error);
    switch (status.type()) {
    case std::filesystem::file_type::not_found:
        return {FileKind::Absent, {}};
    case std::filesystem::file_type::regular:
        return {FileKind::File, {}};
    case std::filesystem::file_type::directory:
        return {FileKind::Folder, {}};
    case std::filesystem::file_type::fifo:
        return {FileKind::Pipe, {}};
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character:
        return {FileKind::Device, {}};
    case std::filesystem::file_type::socket:
        return {FileKind::Socket, {}};
    case std::filesystem::file_type::none:
        return {FileKind::Unreachable, QString::fromLocal8Bit(error.message())};
    default:
        return {FileKind::Other, {}};
    }
}

QString KindInWords(const FileKind& kind)
{
    switch (kind.kind) {
    case FileKind::Folder:
        return QStringLiteral("a folder");
    case FileKind::Pipe:
        return QStringLiteral("a named pipe (FIFO)");
    case FileKind::Device:
        return QStringLiteral("a device");
    case FileKind::Socket:
        return QStringLiteral("a socket");
    case FileKind::Unreachable:
        return kind.reason;
    case FileKind::Absent:
    case FileKind::File:
    case FileKind::Other:
        break;
    }
    return QStringLiteral("an entry of an unknown kind");
}

bool NameHasUndecodableBytes(const QString& path)
{
    return path.contains(QChar::ReplacementCharacter);
}

QString UndecodableNameReason()
{
    return QStringLiteral("its name holds bytes that are not valid UTF-8 (shown as %1), and the program "
                          "cannot name such a file exactly")
        .arg(QChar(QChar::ReplacementCharacter));
}

Failure PictureLoadFailure(int number, const QString& path, const QString& cause)
{
    return Failure(number,
                   QStringLiteral("Cannot load the picture %1: %2").arg(QDir::toNativeSeparators(path), cause).toStdString(),
                   path.toStdString(), cause.toStdString());
}

void RequirePictureFile(const QString& path)
{
    if (path.isEmpty())
        throw Failure(FailureNumber::FileNotFound, "File not found: no picture was named", {}, "no picture was named");
    const FileKind kind = KindOfFile(path);
    if (kind.kind == FileKind::File)
        return;
    if (kind.kind == FileKind::Absent && !NameHasUndecodableBytes(path))
        throw Failure(FailureNumber::FileNotFound,
                      QStringLiteral("File not found: %1").arg(QDir::toNativeSeparators(path)).toStdString(),
                      path.toStdString(), "no file has that name");

    int number = FailureNumber::PathFileAccess;
    QString cause = kind.reason;
    if (kind.kind == FileKind::Absent) {
        number = FailureNumber::BadFileName;
        cause = UndecodableNameReason();
    } else if (kind.kind != FileKind::Unreachable) {
        // Opening a pipe would wait for a writer, and a device may give bytes without end.
        number = kind.kind == FileKind::Folder ? FailureNumber::InvalidPicture : FailureNumber::PathFileAccess;
        cause = QStringLiteral("it is %1, not a file").arg(KindInWords(kind));
    }
    throw PictureLoadFailure(number, path, cause);
}

bool SameFile(const QString& first, const QString& second)
{
    if (first.isEmpty() || second.isEmpty())
        return false;
    std::error_code error;
    return std::filesystem::equivalent(systemPath(first), systemPath(second), error);
}

WriteError SystemWriteError(int error)
{
    switch (error) {
    case EROFS:
        return {WriteError::Cause::AccessDenied, QStringLiteral("the folder is on a file system mounted read-only")};
    case EACCES:
    case EPERM:
        return {WriteError::Cause::AccessDenied, QString::fromLocal8Bit(std::generic_category().message(error))};
    default:
        return {WriteError::Cause::WriteFailed, QString::fromLocal8Bit(std::generic_category().message(error))};
    }
}

#ifndef Q_OS_UNIX
namespace {

// A write that stops part way (the disk is full) returns what it wrote and no error; the
// write of the rest then fails with the system's reason.
bool writeAll(QFileDevice& file, const QByteArray& bytes)
{
    for (qsizetype written = 0; written < bytes.size();) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            return false;
        written += step;
    }
    return true;
}

std::optional<WriteError> writeThroughTemporaryFile(const QString& path, const QByteArray& bytes)
{
    // Never fall back to writing into the target itself: that could leave it truncated.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (file.open(QIODevice::WriteOnly) && writeAll(file, bytes) && file.commit())
        return std::nullopt;
    const QString reason = file.error() == QFileDevice::NoError ? QStringLiteral("the file could not be written")
                                                                : file.errorString();
    file.cancelWriting();
    const bool folderWritable = QFileInfo(QFileInfo(path).absolutePath()).isWritable();
    return WriteError{folderWritable ? WriteError::Cause::WriteFailed : WriteError::Cause::AccessDenied,
                      reason};
}

// A read-only earlier file would make the replacement fail; it is made writable first, and
// gets its permissions back if the new file cannot take its place.
std::optional<WriteError> replaceContent(const QString& path, const QByteArray& bytes)
{
    const QFileInfo target(path);
    const bool forced = target.exists() && !target.isWritable();
    const QFileDevice::Permissions earlier = target.permissions();
    if (forced && !QFile::setPermissions(path, earlier | QFileDevice::WriteOwner | QFileDevice::WriteUser))
        return WriteError{WriteError::Cause::AccessDenied,
                          QStringLiteral("the earlier file is read-only and cannot be replaced")};

    std::optional<WriteError> error = writeThroughTemporaryFile(path, bytes);
    if (error && forced)
        QFile::setPermissions(path, earlier);
    return error;
}

} // namespace
#endif

std::optional<WriteError> WriteFileReplacing(const QString& path, const QByteArray& bytes)
{
    const QFileInfo target(path);
    // A folder on the way that may not be entered, a name too long, a loop of links: the
    // system's reason says which.
    const FileKind folder = KindOfFile(target.absolutePath());
    if (folder.kind == FileKind::Unreachable)
        return WriteError{WriteError::Cause::WriteFailed, folder.reason};
    if (folder.kind != FileKind::Folder)
        return WriteError{WriteError::Cause::FolderMissing, QStringLiteral("the folder does not exist")};
    // The new file would take the place of whatever the name leads to: a device node or a
    // pipe would be gone, and a link loop would be replaced by a plain file.
    const FileKind kind = KindOfFile(path);
    if (kind.kind == FileKind::Unreachable)
        return WriteError{WriteError::Cause::WriteFailed, kind.reason};
    if (kind.kind != FileKind::Absent && kind.kind != FileKind::File)
        return WriteError{WriteError::Cause::AccessDenied,
                          QStringLiteral("%1 of that name is in the way").arg(KindInWords(kind))};

#ifdef Q_OS_UNIX
    return ReplaceFileContent(path, bytes, WaitingContent::Unnamed);
#else
    return replaceContent(path, bytes);
#endif
}
