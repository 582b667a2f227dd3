#include "app/Form1.h"

#include <QGuiApplication>

// The pointer setting governs the whole window. The hourglass is an application override,
// so it shows over every control, text boxes included, until the job sets it back.
void Form1::SetMousePointer(int pointer)
{
    if (pointer == PointerBusy && mousePointer_ != PointerBusy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (pointer != PointerBusy && mousePointer_ == PointerBusy)
        QGuiApplication::restoreOverrideCursor();
    mousePointer_ = pointer;

    if (pointer == PointerCustom && hasMouseIcon_)
        setCursor(mouseIcon_);
    else
        unsetCursor();
}

void Form1::SetMouseIcon(const QCursor& cursor)
{
    mouseIcon_ = cursor;
    hasMouseIcon_ = true;
}
