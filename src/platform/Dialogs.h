#pragma once

#include <QString>

class QWidget;

// The dialogs in which the user chooses a file or a folder.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // One existing file, or empty text on cancel. The dialog opens in startFolder (where the
    // platform puts it when that is empty); the filter is in Qt's form.
    virtual QString GetOpenFileName(QWidget* owner, const QString& title, const QString& startFolder,
                                    const QString& filter) = 0;
    // One existing folder, as the browser returns it, or empty text on cancel.
    virtual QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder) = 0;
};
