#pragma once

#include <QRect>
#include <QSize>

// Where the preview's frame goes on the screen, and how large it is, so that it never covers
// the main window's frame. Right of the main window when the preferred size fits there, else
// left of it, level with its top. Where neither side has room, it goes where it can be largest
// beside, below or above the main window, shrunk with its shape kept but not below the
// smallest size. Where even the smallest size finds no room, it goes where it covers the least
// of the main window. It always stays on the screen where it fits there.
QRect PreviewFrame(const QRect& mainFrame, const QSize& preferred, const QSize& smallest, const QRect& screen);
