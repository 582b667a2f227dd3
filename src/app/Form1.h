#pragma once

// Where the window's handlers live, by subsystem:
//   Form_Load, Form_Unload                      app/StartUp.cpp
//   Option1..4_Click, Text1/2/4_Change          app/PersistingHandlers.cpp
//   SetUpSkin, LoadHandCursor, the hover rules  app/Look.cpp, app/MousePointer.cpp
//   PushButton2_Click (the blend job)           app/StartCommand.cpp
//   PushButton1/3_Click (add a picture)         inputs/AddFileCommands.cpp
//   OpenPictures (pictures named at start)      inputs/CommandLinePictures.cpp
//   Option5/6_Click, PushButton5_Click          inputs/OutputLocation.cpp
//   PushButton7_Click, PushButton4_Click        inputs/SamplesAndTips.cpp (samples, usage tip)
//   the controls, their events, dropped files   app/Form1.cpp, app/PictureDrop.cpp
//   Enter on buttons, focus marks, names, tips  app/EnterKey.cpp, app/FocusMark.cpp, app/ControlNames.cpp
//   the scroll bars' keys                       app/ScrollBarKeys.cpp
//   the live preview (Ctrl+P)                   app/LivePreview.cpp
//   the export of the blend (Ctrl+E)            app/ExportCommand.cpp

#include "app/OptionButton.h"
#include "engine/PairComposition.h"
#include "engine/Blit.h"
#include "desktop/Platform.h"

#include <QCursor>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QWidget>

#include <memory>

class LivePreview;
class ExportCommand;

// The main window. It owns its controls (under their designed names), the three hidden
// canvases and the pictures of the last job. Its handlers carry the program's behaviour
// and live in the folders of their subsystems.
class Form1 : public QWidget {
public:
    // The window's mouse pointer settings.
    static constexpr int PointerDefault = 0;
    static constexpr int PointerBusy = 11;
    static constexpr int PointerCustom = 99;

    explicit Form1(Platform& platform, QWidget* parent = nullptr);
    // Out of line: the preview is complete only there.
    ~Form1() override;

    Platform& platform() const { return platform_; }

    // Start-up and shut-down.
    void Form_Load();
    void Form_Unload();
    // Form_Unload has run: the program is ending, and its windows close without a trace.
    bool unloaded() const { return unloaded_; }
    // After start-up: the pictures named on the command line fill Text1, then Text2; a
    // message box names any further ones, which are left out.
    void OpenPictures(const QStringList& paths);

    // Persisting handlers.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Text1_Change();
    void Text2_Change();
    void Text4_Change();

    // Look and hover rules.
    void SetUpSkin();
    void LoadHandCursor();
    void ResetPointer();
    void HandPointer();
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);
    void SetMouseIcon(const QCursor& cursor);

    // Commands.
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton7_Click();
    void Option5_Click();
    void Option6_Click();

    // Controls, in the order of their tab places.
    QGroupBox* Frame1;
    OptionButton* Option1;
    OptionButton* Option2;
    OptionButton* Option3;
    OptionButton* Option4;
    QPushButton* PushButton2;
    QPushButton* PushButton4;
    QGroupBox* Frame2;
    QScrollBar* hStart;
    QGroupBox* Frame4;
    QLineEdit* Text1;
    QPushButton* PushButton1;
    QGroupBox* Frame5;
    QLineEdit* Text2;
    QPushButton* PushButton3;
    QPushButton* PushButton7;
    QGroupBox* Frame6;
    OptionButton* Option6;
    OptionButton* Option5;
    QGroupBox* Frame3;
    QLineEdit* Text4;
    QPushButton* PushButton5;
    QScrollBar* hEnd;

    // The folder of the last picture chosen in an Open-file dialog in this run; the dialog
    // opens there when the field's own picture has no folder to open in.
    QString lastPictureFolder;

    // The hidden canvases and the pictures of the last job.
    Canvases canvases;
    LoadedPair loaded;
    ConstantAlphaBlitter blitter;

    // The live preview beside the window (Ctrl+P, the window's context menu).
    LivePreview& preview() const { return *preview_; }
    // "Export Blend…" (Ctrl+E, the window's context menu and the preview).
    ExportCommand& exportCommand() const { return *export_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectHandlers();

    Platform& platform_;
    int mousePointer_ = PointerDefault;
    QCursor mouseIcon_;
    bool hasMouseIcon_ = false;
    bool centred_ = false;
    bool unloaded_ = false;
    // Set while the start button's job runs, so that a press let through meanwhile is ignored.
    bool jobRunning_ = false;
    std::unique_ptr<LivePreview> preview_;
    std::unique_ptr<ExportCommand> export_;
};
