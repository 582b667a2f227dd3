#include "app/Form1.h"

#include <QGuiApplication>

// The pointer setting governs the whole window. The hourglass is an application override,
// so it shows over every control, text boxes included, until the job sets it back. The
// custom cursor covers the text boxes too, which otherwise show their own text cursor.
void Form1::SetMousePointer(int pointer)
{
    if (pointer == PointerBusy && mousePointer_ != PointerBusy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (pointer != PointerBusy && mousePointer_ == PointerBusy)
        QGuiApplication::restoreOverrideCursor();
    mousePointer_ = pointer;

    const bool custom = pointer == PointerCustom && hasMouseIcon_;
    if (custom)
        setCursor(mouseIcon_);
    else
        unsetCursor();
    for (QLineEdit* box : {Text1, Text2, Text4})
        box->setCursor(custom ? mouseIcon_ : QCursor(Qt::IBeamCursor));
}

void Form1::SetMouseIcon(const QCursor& cursor)
{
    mouseIcon_ = cursor;
    hasMouseIcon_ = true;
}
