#include "desktop/DesktopShell.h"

#include "core/Failure.h"
#include "platform/FileSystem.h"
#include "platform/FolderChoice.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <chrono>

DesktopShell::DesktopShell()
    : random_(static_cast<std::mt19937::result_type>(
          std::chrono::system_clock::now().time_since_epoch().count()))
{
}

bool DesktopShell::OpenDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopShell::OpenWebAddress(const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address));
}

QString DesktopShell::DesktopFolder()
{
    // An account without a desktop folder (a server's, a minimal desktop's) still gets a
    // first result in a folder that exists.
    const QString folder = FirstExistingFolder({QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                                                QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                                                QStandardPaths::writableLocation(QStandardPaths::HomeLocation)},
                                               FolderExists);
    if (folder.isEmpty())
        throw Failure(FailureNumber::PathFileAccess, "The desktop folder is not known");
    return QDir::toNativeSeparators(folder);
}

QString DesktopShell::PicturesFolder()
{
    return QDir::toNativeSeparators(
        FirstExistingFolder({QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                             QStandardPaths::writableLocation(QStandardPaths::HomeLocation)},
                            FolderExists));
}

QString DesktopShell::ProgramFolder()
{
    // The executable's folder holds the data files in the build tree; any one of them marks
    // it, since each of them is optional.
    const auto holdsDataFiles = [](const QString& folder) {
        for (const char* entry : {"x", "HAND-M.CUR", "Samples", "icons"})
            if (QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(entry)))
                return true;
        return false;
    };
    return QDir::toNativeSeparators(DataFolderFor(QCoreApplication::applicationDirPath(), holdsDataFiles));
}

double DesktopShell::NextRandom()
{
    return std::generate_canonical<double, 53>(random_);
}
