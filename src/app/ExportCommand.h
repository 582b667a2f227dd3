#pragma once

#include <QObject>

class Form1;
class LivePreview;
class QAction;

// "Export Blend…" (Ctrl+E, in the main window's context menu and on the preview): the dialog,
// then the export of the blend the window shows, at the size, fit, format and quality chosen.
// The choices are stored when an export starts; a failure is told in a message box.
class ExportCommand {
public:
    ExportCommand(Form1& form, LivePreview& preview);
    ExportCommand(const ExportCommand&) = delete;
    ExportCommand& operator=(const ExportCommand&) = delete;

    QAction& action() const { return *action_; }
    // The file an export goes to unless another is stored: blend.jpg in the folder the start
    // button's job would write its result into.
    QString defaultFile() const;

private:
    void run();

    Form1& form_;
    QAction* action_;
    QObject connections_;
};
