#pragma once

#include "core/StopFlag.h"

#include <functional>
#include <memory>

class QWidget;

// A window that waits while its job runs, for as long as this lives: the window and the
// windows it owns but its dialogs (the preview, a menu) keep repainting and run their timers
// and posted calls, but the user's input to them is ignored and the user cannot close the
// owned ones. Message boxes and dialogs are left alone. A close of the window itself goes
// through and is noted: the program ends with it, and the job stops at its next event pass.
// A stop flag given sets with that close, so that work running aside ends at its next check
// instead of being waited for.
class WindowWait {
public:
    explicit WindowWait(QWidget& window, StopFlag* stopOnClose = nullptr);
    ~WindowWait();
    WindowWait(const WindowWait&) = delete;
    WindowWait& operator=(const WindowWait&) = delete;

    // Lets the events that are waiting through once. False when the window has been closed.
    bool passEvents();
    // Runs `work` on a thread of its own and waits for it in an event loop of its own. True
    // when the work finished with the window still open, false when the window was closed,
    // before or meanwhile. The work has ended either way, so it may use what the window's
    // owner holds. Whatever the work threw is thrown again here, unless the window was closed.
    // Without a thread to be had the work runs here, the window still.
    bool runAside(const std::function<void()>& work);

    bool windowClosed() const;

private:
    class Filter;
    std::unique_ptr<Filter> filter_;
};
