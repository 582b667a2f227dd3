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

QString QtPlatform::GetOpenFileName(QWidget* owner, const QString& title, const QString& startFolder,
                                    const QString& filter)
{
    return QFileDialog::getOpenFileName(owner, title, startFolder, filter);
}

QString QtPlatform::BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(owner, title, startFolder, QFileDialog::ShowDirsOnly);
}
