#include "app/WindowWait.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QWidget>

#include <exception>
#include <system_error>
#include <thread>

namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// For as long as it lives: swallows the user's input to the window and its controls, and
// ends the wait when the window is closed. Other windows, a message box over this one
// included, are left alone.
class WaitingWindow : public QObject {
public:
    WaitingWindow(QWidget& window, QEventLoop& loop) : window_(window), loop_(loop)
    {
        qApp->installEventFilter(this);
    }
    ~WaitingWindow() override { qApp->removeEventFilter(this); }
    WaitingWindow(const WaitingWindow&) = delete;
    WaitingWindow& operator=(const WaitingWindow&) = delete;

    bool closed() const { return closed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_ && event->type() == QEvent::Close) {
            closed_ = true;
            loop_.quit();
            return false;
        }
        if (!IsUserInput(event->type()) || !watched->isWidgetType())
            return false;
        const auto* target = static_cast<const QWidget*>(watched);
        return target == &window_ || window_.isAncestorOf(target);
    }

private:
    QWidget& window_;
    QEventLoop& loop_;
    bool closed_ = false;
};

} // namespace

bool RunWhileWindowWaits(QWidget& window, const std::function<void()>& work)
{
    QEventLoop loop;
    const WaitingWindow waiting(window, loop);
    std::exception_ptr failure;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            // Queued, so the loop ends from its own thread, also when it has yet to start.
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        work();
        return true;
    }
    loop.exec();
    // The work may hold what the window's owner holds; it ends before they can go.
    worker.join();
    // A closed window wants no report of the work either.
    if (waiting.closed())
        return false;
    if (failure)
        std::rethrow_exception(failure);
    return true;
}
