#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
