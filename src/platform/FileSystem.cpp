#include "platform/FileSystem.h"

#include <QFileInfo>
#include <QSaveFile>

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

namespace {

std::optional<WriteError> writeThroughTemporaryFile(const QString& path, const QByteArray& bytes)
{
    // Never fall back to writing into the target itself: that could leave it truncated.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return std::nullopt;
    const QString reason = file.errorString();
    file.cancelWriting();
    const bool folderWritable = QFileInfo(QFileInfo(path).absolutePath()).isWritable();
    return WriteError{folderWritable ? WriteError::Cause::WriteFailed : WriteError::Cause::AccessDenied,
                      reason};
}

} // namespace

std::optional<WriteError> WriteFileReplacing(const QString& path, const QByteArray& bytes)
{
    const QFileInfo target(path);
    if (!QFileInfo(target.absolutePath()).isDir())
        return WriteError{WriteError::Cause::FolderMissing, QStringLiteral("the folder does not exist")};
    if (target.isDir())
        return WriteError{WriteError::Cause::AccessDenied, QStringLiteral("a folder of that name is in the way")};

    // A read-only earlier file would make the replacement fail; it is made writable first,
    // and gets its permissions back if the new file cannot take its place.
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
