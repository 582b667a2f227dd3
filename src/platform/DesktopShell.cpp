#include "platform/DesktopShell.h"

#include "core/Failure.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
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
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty())
        throw Failure(FailureNumber::PathFileAccess, "The desktop folder is not known");
    return QDir::toNativeSeparators(desktop);
}

QString DesktopShell::ProgramFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

double DesktopShell::NextRandom()
{
    return std::generate_canonical<double, 53>(random_);
}
