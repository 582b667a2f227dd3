#pragma once

#include <QString>

class Dialogs;
class QWidget;

// Shows the platform's folder browser over the owner window; only real folders can be
// confirmed. An empty start folder opens it at the root of the file system. Returns the
// chosen folder as the browser gives it, in native separators (no trailing separator except
// at a root), or empty text when the user cancelled.
QString PickFolder(Dialogs& dialogs, QWidget* owner, const QString& title, const QString& startFolder);
