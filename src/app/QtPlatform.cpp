#include "app/QtPlatform.h"

#include "app/ExactTitle.h"
#include "app/MessageText.h"
#include "engine/Canvas.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

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
