#include "platform/FolderChoice.h"

#include <QDir>
#include <QFileInfo>

QString FirstExistingFolder(const QStringList& candidates, const std::function<bool(const QString&)>& isFolder)
{
    for (const QString& candidate : candidates)
        if (!candidate.isEmpty() && isFolder(candidate))
            return candidate;
    return QString();
}

QString DataFolderFor(const QString& executableFolder, const std::function<bool(const QString&)>& holdsDataFiles)
{
    if (holdsDataFiles(executableFolder))
        return executableFolder;
    // The executable's folder has its links resolved, so going up by name stays where the
    // file system would go.
    const QString prefix = QFileInfo(QDir::cleanPath(QDir::fromNativeSeparators(executableFolder))).path();
    return QDir::toNativeSeparators(QDir::cleanPath(prefix + QStringLiteral("/share/vantelle")));
}
