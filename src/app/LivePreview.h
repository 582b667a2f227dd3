#pragma once

#include "app/PreviewBlend.h"
#include "app/PreviewPictures.h"

#include <QObject>
#include <QSize>
#include <QTimer>

#include <array>

class Form1;
class PreviewWindow;
class QAction;
class QMenu;

// The live preview of the main window: a tool window beside it that shows the blend the start
// button would write, following the two picture fields, the four sides and the band start.
// Ctrl+P and "Show Preview" in the window's context menu open and close it, and whether the
// user left it open is stored. It never writes a result, opens a document or shows a message
// box.
class LivePreview {
public:
    explicit LivePreview(Form1& form);
    ~LivePreview();
    LivePreview(const LivePreview&) = delete;
    LivePreview& operator=(const LivePreview&) = delete;

    // Opens the preview again when the user left it open in an earlier run; the stored key
    // stays as it is. Call it once the main window is shown, so the preview goes beside it.
    void restore();

    bool isOpen() const { return open_; }
    PreviewWindow& window() const { return *window_; }
    // "Show Preview": checkable, with Ctrl+P on the main window and the preview.
    QAction& showAction() const { return *showAction_; }
    // The main window's context menu, which holds the action.
    QMenu& contextMenu() const { return *contextMenu_; }

private:
    void setOpen(bool open);
    void storeOpen();
    void forget();
    void place();
    void keepUsersSize();
    void fieldChanged(int field);
    void loadField(int field);
    void refresh();

    Form1& form_;
    bool open_ = false;
    // Children of the form, which owns them.
    PreviewWindow* window_;
    QAction* showAction_;
    QMenu* contextMenu_;
    PreviewPictures pictures_;
    PreviewBlend blend_;
    // The size the preview is opened at where there is room: the designed one, or the one the
    // user gave it. Where there is less room it is opened smaller, which is not remembered.
    QSize preferredSize_;
    QSize placedSize_;
    // Typing settles before a changed field is loaded.
    std::array<QTimer, 2> typing_;
    // The receiver of the connections to the main window, which end with this object.
    QObject connections_;
};
