#include "app/Form1.h"

// The pointer setting governs the whole window and every control in it: the hourglass and
// the custom cursor cover the text boxes too, which otherwise show their own text cursor.
// It is the window's own pointer, so a message box or dialog over the window during a job
// keeps the normal arrow for the user's answer.
void Form1::SetMousePointer(int pointer)
{
    mousePointer_ = pointer;

    const bool busy = pointer == PointerBusy;
    const bool custom = pointer == PointerCustom && hasMouseIcon_;
    if (busy)
        setCursor(Qt::WaitCursor);
    else if (custom)
        setCursor(mouseIcon_);
    else
        unsetCursor();
    const QCursor boxes = busy ? QCursor(Qt::WaitCursor) : custom ? mouseIcon_ : QCursor(Qt::IBeamCursor);
    for (QLineEdit* box : {Text1, Text2, Text4})
        box->setCursor(boxes);
}

void Form1::SetMouseIcon(const QCursor& cursor)
{
    mouseIcon_ = cursor;
    hasMouseIcon_ = true;
}
