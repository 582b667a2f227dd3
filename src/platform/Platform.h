#pragma once

#include "engine/Picture.h"

#include <QCursor>
#include <QString>

#include <optional>

class QWidget;

// Message-box styles: the button set and the icon.
namespace MsgBoxStyle {
inline constexpr int OkOnly = 0;
inline constexpr int Exclamation = 48;
} // namespace MsgBoxStyle

// Everything through which the program reaches outside itself. The window gets one
// Platform; tests hand it a fake that records what would have been shown or opened.
// Operations that can fail throw Failure with a description for the user.
class Platform {
public:
    virtual ~Platform() = default;

    // Dialogs. An empty title means the application title.
    virtual void MsgBox(QWidget* owner, const QString& text, int style, const QString& title) = 0;
    // One existing file, or empty text on cancel. The filter is in Qt's form.
    virtual QString GetOpenFileName(QWidget* owner, const QString& title, const QString& filter) = 0;
    // One existing folder, as the browser returns it, or empty text on cancel.
    virtual QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder) = 0;

    // Shell.
    virtual bool OpenDocument(const QString& path) = 0;
    virtual bool OpenWebAddress(const QString& address) = 0;
    // The user's desktop folder without a trailing separator.
    virtual QString DesktopFolder() = 0;
    // The folder of the running executable.
    virtual QString ProgramFolder() = 0;

    // A number in [0, 1), from a generator seeded from the clock when the platform was made.
    virtual double NextRandom() = 0;

    // The per-user settings store.
    virtual std::optional<QString> StoredSetting(const QString& key) = 0;
    virtual void StoreSetting(const QString& key, const QString& value) = 0;

    // Pictures and cursors from files.
    virtual Picture LoadPicture(const QString& path) = 0;
    virtual QCursor LoadCursorFile(const QString& path) = 0;
};
