#include "inputs/AddFolder.h"

#include "platform/Platform.h"

#include <QDir>

QString PickFolder(Platform& platform, QWidget* owner, const QString& title, const QString& startFolder)
{
    const QString start = startFolder.isEmpty() ? QDir::rootPath() : startFolder;
    return QDir::toNativeSeparators(platform.BrowseForFolder(owner, title, QDir::toNativeSeparators(start)));
}
