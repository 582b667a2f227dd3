#pragma once

class QWidget;

// Creates the window's native window so that the desktop shows its title exactly as given.
// Qt's window-system plugins append the application display name to every window title
// (" — Vantelle" on X11 and Wayland, " - Vantelle" on Windows) unless the title already ends
// with it, and the name is only consulted when the native window takes its title; so the name
// is withheld while that happens. Call it after setting the title and before showing.
void CreateWithExactTitle(QWidget& window);
