#pragma once

#include <QCloseEvent>
#include <QCoreApplication>
#include <QSpontaneKeyEvent>
#include <QWidget>
#include <QWindow>

// What the close button of the window's title bar does: the window system sends a close to
// the window, which passes it on to the widget as the user's (spontaneous) close.
inline void CloseAsTheUserDoes(QWidget& window)
{
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    // Straight to the receiver: sending the event would take away what marks it the user's.
    QCoreApplication::instance()->notify(window.windowHandle(), &close);
}

// The same close, still waiting among the program's events.
inline void QueueCloseAsTheUserDoes(QWidget& window)
{
    QCoreApplication::postEvent(window.windowHandle(), new QCloseEvent);
}
