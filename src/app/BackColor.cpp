#include "app/BackColor.h"

#include <QPalette>
#include <QWidget>

void SetBackColor(QWidget* control, const QColor& color)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, color);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}
