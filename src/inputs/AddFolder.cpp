#include "inputs/AddFolder.h"

#include "platform/Dialogs.h"

#include <QDir>

QString PickFolder(Dialogs& dialogs, QWidget* owner, const QString& title, const QString& startFolder)
{
    const QString start = startFolder.isEmpty() ? QDir::rootPath() : startFolder;
    return QDir::toNativeSeparators(dialogs.BrowseForFolder(owner, title, QDir::toNativeSeparators(start)));
}
