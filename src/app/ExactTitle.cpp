#include "app/ExactTitle.h"

#include <QGuiApplication>
#include <QWidget>

void CreateWithExactTitle(QWidget& window)
{
    const QString displayName = QGuiApplication::applicationDisplayName();
    // A display name that was never set reads as the application name and is not appended;
    // setting it back would start appending it.
    if (displayName == QCoreApplication::applicationName()) {
        window.winId();
        return;
    }
    // Every title ends with the empty text, so none is lengthened while the window is made.
    QGuiApplication::setApplicationDisplayName(QString());
    window.winId();
    QGuiApplication::setApplicationDisplayName(displayName);
}
