#include "app/ExactTitle.h"

#include <QGuiApplication>
#include <QWidget>

namespace {

// QWidget::create() is the step of showing a window that makes its native window. It is
// protected; a using-declaration in a class of our own names it for any widget.
struct WindowCreation : QWidget {
    using QWidget::create;
};

void createNativeWindow(QWidget& window)
{
    (window.*&WindowCreation::create)(0, true, true);
}

} // namespace

void CreateWithExactTitle(QWidget& window)
{
    const QString displayName = QGuiApplication::applicationDisplayName();
    // A display name that was never set reads as the application name and is not appended;
    // setting it back would start appending it.
    if (displayName == QCoreApplication::applicationName()) {
        createNativeWindow(window);
        return;
    }
    // Every title ends with the empty text, so none is lengthened while the window is made.
    QGuiApplication::setApplicationDisplayName(QString());
    createNativeWindow(window);
    QGuiApplication::setApplicationDisplayName(displayName);
}
