#include "app/WindowWait.h"

#include <QApplication>
#include <QDialog>
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

} // namespace

// Swallows the input to the waiting windows, keeps the user from closing the owned ones, and
// notes a close of the window, ending the wait's event loop if one runs.
class WindowWait::Filter : public QObject {
public:
    Filter(QWidget& window, StopFlag* stopOnClose) : window_(window), stopOnClose_(stopOnClose)
    {
        qApp->installEventFilter(this);
    }
    ~Filter() override { qApp->removeEventFilter(this); }
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    bool closed = false;
    QEventLoop* loop = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        const auto* target = static_cast<const QWidget*>(watched);
        if (target == &window_ && event->type() == QEvent::Close) {
            closed = true;
            if (stopOnClose_)
                *stopOnClose_ = true;
            if (loop)
                loop->quit();
            return false;
        }
        if (!waits(*target))
            return false;
        // The window system's close is the user's; the program's own, as it ends, goes through.
        if (event->type() == QEvent::Close && event->spontaneous() && target->isWindow()) {
            event->ignore();
            return true;
        }
        if (!IsUserInput(event->type()))
            return false;
        // Taken as overridden, a key is no shortcut (Ctrl+P among them) and comes as a key
        // press, which is swallowed too.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        return true;
    }

private:
    bool waits(const QWidget& target) const
    {
        const QWidget* top = target.window();
        return top == &window_ || (top->parentWidget() == &window_ && !qobject_cast<const QDialog*>(top));
    }

    QWidget& window_;
    StopFlag* stopOnClose_;
};

WindowWait::WindowWait(QWidget& window, StopFlag* stopOnClose)
    : filter_(std::make_unique<Filter>(window, stopOnClose))
{
}

WindowWait::~WindowWait() = default;

bool WindowWait::windowClosed() const
{
    return filter_->closed;
}

bool WindowWait::passEvents()
{
    QCoreApplication::processEvents();
    return !windowClosed();
}

bool WindowWait::runAside(const std::function<void()>& work)
{
    if (windowClosed())
        return false;
    QEventLoop loop;
    filter_->loop = &loop;
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
        filter_->loop = nullptr;
        work();
        return true;
    }
    loop.exec();
    filter_->loop = nullptr;
    // The work may hold what the window's owner holds; it ends before they can go.
    worker.join();
    // A closed window wants no report of the work either.
    if (windowClosed())
        return false;
    if (failure)
        std::rethrow_exception(failure);
    return true;
}
