#pragma once

#include <QColor>

class QPushButton;
class QWidget;

// Gives a control a background colour of its own, painted behind its contents, and the text
// colours that read on it (whatever the desktop's colours are): for a frame its caption, for
// an option its caption and its mark. The text boxes and buttons inside a frame keep the
// desktop's colours, so they stay readable on their own backgrounds.
void SetBackColor(QWidget* control, const QColor& color);

// Gives a push button a face colour of its own, with a caption that reads on it.
void SetFaceColor(QPushButton* button, const QColor& color);
