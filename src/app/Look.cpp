#include "app/Form1.h"
#include "app/BackColor.h"
#include "platform/FileSystem.h"
#include "core/Failure.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QStyle>
#include <QStringDecoder>

namespace {

// A style sheet is a few kilobytes; a larger file is not read into memory.
constexpr qint64 LargestSkin = 1 << 20;

// The platform's colour of button faces and dialog backgrounds.
QColor buttonFace()
{
    return QGuiApplication::palette().color(QPalette::Button);
}

// The grouping controls take the window's colour; text boxes, buttons and scroll bars keep
// their own.
bool isGroupingControl(const QWidget* control)
{
    return qobject_cast<const QRadioButton*>(control) || qobject_cast<const QCheckBox*>(control)
           || qobject_cast<const QGroupBox*>(control) || qobject_cast<const QLabel*>(control);
}

[[noreturn]] void unusableSkin(const QString& path, const QString& why)
{
    throw Failure(FailureNumber::PathFileAccess,
                  QStringLiteral("The skin %1 cannot be used: %2").arg(path, why).toStdString());
}

// The skin is a Qt style sheet in UTF-8.
QString readSkin(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        unusableSkin(path, file.errorString());
    if (file.size() > LargestSkin)
        unusableSkin(path, QStringLiteral("it is too large for a style sheet"));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString sheet = utf8.decode(file.readAll());
    if (utf8.hasError())
        unusableSkin(path, QStringLiteral("it is no UTF-8 text"));
    return sheet;
}

} // namespace

void Form1::SetUpSkin()
{
    const QString path = ProgramFilePath(platform().ProgramFolder(), {"x", "o.cjs"});
    // Only an ordinary, visible file counts: a folder of that name is no skin.
    const QFileInfo skin(path);
    if (!skin.isFile() || skin.isHidden())
        return;

    // The skin is light, and the dialogs that the window opens inherit its buttons and
    // fields: the application takes the style's own light palette along with it, so that
    // on a dark desktop the dialogs are not half dark and half light.
    QApplication::setPalette(QApplication::style()->standardPalette());
    SetBackColor(this, buttonFace());
    for (QWidget* control : findChildren<QWidget*>())
        if (isGroupingControl(control))
            SetBackColor(control, buttonFace());
    setStyleSheet(readSkin(path));
}

void Form1::LoadHandCursor()
{
    const QString path = ProgramFilePath(platform().ProgramFolder(), {"HAND-M.CUR"});
    // Present is what has a modification time; the pointer setting itself stays as it is.
    if (!QFileInfo(path).lastModified().isValid())
        return;
    SetMouseIcon(platform().LoadCursorFile(path));
}

// The hover rules never replace the hourglass of a running job.

void Form1::ResetPointer()
{
    if (MousePointer() != PointerBusy)
        SetMousePointer(PointerDefault);
}

void Form1::HandPointer()
{
    if (MousePointer() != PointerBusy)
        SetMousePointer(PointerCustom);
}
