#pragma once

#include "app/ExportChoices.h"
#include "platform/Dialogs.h"

#include <QDialog>
#include <QSize>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Export Blend": the file, its format, the size (the window's, either picture's or one given),
// the fit and the quality of an export. The format list sets the file name's extension;
// "Browse…" chooses the file in a save-file dialog, and the format list follows its extension.
class ExportDialog : public QDialog {
public:
    // `first` and `second`: the pictures' sizes, shown beside their choices; empty when unknown.
    ExportDialog(QWidget* parent, Dialogs& dialogs, const ExportChoices& choices, QSize first, QSize second);

    ExportChoices choices() const;

    QLineEdit* fileName;
    QPushButton* browse;
    QComboBox* format;
    QComboBox* size;
    QSpinBox* width;
    QSpinBox* height;
    QComboBox* fit;
    QSpinBox* quality;

private:
    void formatChosen(int index);
    void browseChosen();

    Dialogs& dialogs_;
};
