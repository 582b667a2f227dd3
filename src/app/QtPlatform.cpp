#include "app/QtPlatform.h"

#include "app/ExactTitle.h"
#include "app/MessageText.h"
#include "engine/Canvas.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRegularExpression>

QtPlatform::QtPlatform() : pictures_(QSize(Canvas::Width, Canvas::Height)) {}

void QtPlatform::MsgBox(QWidget* owner, const QString& text, int style, const QString& title)
{
    const QMessageBox::Icon icon =
        style == MsgBoxStyle::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    const QString caption = title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
    QMessageBox box(icon, caption, DisplayedMessageText(text), QMessageBox::Ok, owner);
    // Our texts are never markup: a path such as "<b>.jpg" shows as it is, and line breaks stay.
    box.setTextFormat(Qt::PlainText);
    // The report's caption is "Application Error" exactly, with no program name added to it.
    CreateWithExactTitle(box);
    box.exec();
}

namespace {

// The dialog's title exactly as given, as the message boxes have theirs. Returns the chosen
// file or folder, or empty text when the user cancelled.
QString ChooseIn(QFileDialog& dialog)
{
    CreateWithExactTitle(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

// The first extension a filter entry names, "jpg" of "JPEG (*.jpg *.jpeg)"; empty when it
// names none, as "All Files (*)".
QString firstExtensionOf(const QString& filterEntry)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([^\\s;()*]+)"));
    return pattern.match(filterEntry).captured(1);
}

} // namespace

QString QtPlatform::GetOpenFileName(QWidget* owner, const QString& title, const QString& startFolder,
                                    const QString& filter)
{
    QFileDialog dialog(owner, title, startFolder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return ChooseIn(dialog);
}

QString QtPlatform::BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder)
{
    QFileDialog dialog(owner, title, startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return ChooseIn(dialog);
}

QString QtPlatform::GetSaveFileName(QWidget* owner, const QString& title, const QString& startFile,
                                    const QString& filter, const QString& selectedFilter)
{
    const QString start = QDir::fromNativeSeparators(startFile);
    const QFileInfo file(start);
    QFileDialog dialog(owner, title, start.isEmpty() ? QString() : file.absolutePath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectNameFilter(selectedFilter);
    // Where the folder is gone, the dialog opens in the nearest one that is there, with the
    // name alone, rather than in an empty view of nothing.
    if (!start.isEmpty())
        dialog.selectFile(file.absoluteDir().exists() ? file.absoluteFilePath() : file.fileName());
    // The dialog adds the extension before it asks whether to replace a file, so the file it
    // asks about is the one that would be written.
    dialog.setDefaultSuffix(firstExtensionOf(selectedFilter));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& entry) { dialog.setDefaultSuffix(firstExtensionOf(entry)); });
    return ChooseIn(dialog);
}
