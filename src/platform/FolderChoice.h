#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The first candidate that isFolder accepts, or empty text when it accepts none. Empty
// candidates (a place the system does not know) are passed over without asking.
QString FirstExistingFolder(const QStringList& candidates, const std::function<bool(const QString&)>& isFolder);

// The folder of the program's data files for an executable in executableFolder: that folder
// itself when holdsDataFiles finds them there (the build tree, or the program copied with its
// data), else ../share/vantelle from it, as installed (<prefix>/bin beside <prefix>/share).
QString DataFolderFor(const QString& executableFolder, const std::function<bool(const QString&)>& holdsDataFiles);
