#pragma once

class QWidget;

// Creates the window's native window so that the desktop shows its title exactly as given.
// Qt's window-system plugins append the application display name to every window title
// (" — Vantelle" on X11 and Wayland, " - Vantelle" on Windows) unless the title already ends
// with it, and the name is only consulted when the native window takes its title; so the name
// is withheld while that happens. Call it after setting the title and before showing.
// It creates the window as showing it would. Asking for its window id instead would mark it
// native the way a control is, and Qt then makes every sibling native too: the frames and
// buttons of the owner's window would become windows of their own.
void CreateWithExactTitle(QWidget& window);
