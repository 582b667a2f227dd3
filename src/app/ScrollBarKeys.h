#pragma once

class QScrollBar;

// Makes a horizontal scroll bar's keys move it the way they point, as on the desktop the window
// was designed for: Right and Down one step up, Left and Up one step down, Page Down and Page
// Up one page up and down, Home to the minimum and End to the maximum. Qt's scroll bar turns
// the arrows of a horizontal bar round.
void MoveWithKeysAsPointed(QScrollBar* bar);
