#include "platform/QtPlatform.h"

#include "platform/CursorFile.h"
#include "platform/MessageText.h"
#include "platform/PictureDecoder.h"
#include "platform/SettingsFile.h"
#include "report/Failure.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QUrl>

#include <chrono>

QtPlatform::QtPlatform()
    : random_(static_cast<std::mt19937::result_type>(
          std::chrono::system_clock::now().time_since_epoch().count()))
{
}

void QtPlatform::MsgBox(QWidget* owner, const QString& text, int style, const QString& title)
{
    const QMessageBox::Icon icon =
        style == MsgBoxStyle::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    const QString caption = title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
    QMessageBox box(icon, caption, DisplayedMessageText(text), QMessageBox::Ok, owner);
    box.exec();
}

QString QtPlatform::GetOpenFileName(QWidget* owner, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(owner, title, QString(), filter);
}

QString QtPlatform::BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(owner, title, startFolder, QFileDialog::ShowDirsOnly);
}

bool QtPlatform::OpenDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtPlatform::OpenWebAddress(const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address));
}

QString QtPlatform::DesktopFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty())
        throw Failure(FailureNumber::PathFileAccess, "The desktop folder is not known");
    return QDir::toNativeSeparators(desktop);
}

QString QtPlatform::ProgramFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

double QtPlatform::NextRandom()
{
    return std::generate_canonical<double, 53>(random_);
}

std::optional<QString> QtPlatform::StoredSetting(const QString& key)
{
    StoredSettingRead read = ReadSettingsFile(key);
    if (!read.problem.isEmpty())
        reportSettingsProblem(read.problem);
    return std::move(read.value);
}

void QtPlatform::StoreSetting(const QString& key, const QString& value)
{
    const StoredSettingWrite write = WriteSettingsFile(key, value);
    if (!write.problem.isEmpty())
        reportSettingsProblem(write.problem);
    if (write.saved)
        settingsProblemShown_ = false;
}

void QtPlatform::reportSettingsProblem(const QString& problem)
{
    if (settingsProblemShown_)
        return;
    settingsProblemShown_ = true;
    MsgBox(nullptr, problem, MsgBoxStyle::Exclamation, QString());
}

Picture QtPlatform::LoadPicture(const QString& path)
{
    return DecodePictureFile(path);
}

QCursor QtPlatform::LoadCursorFile(const QString& path)
{
    return LoadCursorFromFile(path);
}
