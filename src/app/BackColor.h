#pragma once

#include <QColor>

class QWidget;

// Gives a control a background colour of its own, painted behind its contents.
void SetBackColor(QWidget* control, const QColor& color);
