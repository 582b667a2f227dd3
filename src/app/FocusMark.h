#pragma once

class QWidget;

// Draws a ring around the control while it has the focus, for a control that the style
// shows no focus on (Qt's styles mark none on a scroll bar).
void MarkFocusAround(QWidget* control);
