#pragma once

#include <functional>

class QWidget;

// Runs `work` on a thread of its own while `window` waits for it in an event loop of its own:
// the window keeps repainting and its timers and posted calls run, but the user's input to
// it and its controls is ignored. Returns true when the work finished with the window still
// open, false when the window was closed meanwhile. The work has ended either way, so it may
// use what the window's owner holds. Whatever the work threw is thrown again here, unless
// the window was closed. Without a thread to be had the work runs here, the window still.
bool RunWhileWindowWaits(QWidget& window, const std::function<void()>& work);
