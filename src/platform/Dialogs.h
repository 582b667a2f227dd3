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
    // A file to write, or empty text on cancel. The dialog opens in the folder of startFile
    // with its name filled in and selectedFilter (one of the filter's entries) chosen. A name
    // typed without an extension takes the first one of the entry chosen, and the user is
    // asked before a file that exists is taken.
    virtual QString GetSaveFileName(QWidget* owner, const QString& title, const QString& startFile,
                                    const QString& filter, const QString& selectedFilter) = 0;
};
