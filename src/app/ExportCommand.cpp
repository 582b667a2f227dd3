#include "app/ExportCommand.h"

#include "app/ExportDialog.h"
#include "app/Form1.h"
#include "app/JobOutputFolder.h"
#include "app/LivePreview.h"
#include "app/PreviewWindow.h"
#include "app/WindowWait.h"
#include "app/WorkProgress.h"
#include "codecs/PictureDecoder.h"
#include "core/Failure.h"
#include "engine/Canvas.h"
#include "job/ExportBlend.h"
#include "job/PathRoutines.h"
#include "report/Trap.h"

#include <QDir>
#include <QAction>
#include <QMenu>

#include <algorithm>

namespace {

// The size the picture shows, turned upright, as its file's header gives it: the size an export
// at that picture's size has. Empty when the file gives none.
QSize uprightSize(const QString& path)
{
    if (path.isEmpty())
        return {};
    try {
        return PictureFileSize(path);
    } catch (const Failure&) {
        return {};
    }
}

// The steps of the export's progress.
constexpr int ProgressSteps = 1000;

} // namespace

ExportCommand::ExportCommand(Form1& form, LivePreview& preview)
    : form_(form), action_(new QAction(QStringLiteral("Export Blend…"), &form))
{
    action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    action_->setShortcutContext(Qt::WindowShortcut);
    form.addAction(action_);
    preview.window().addAction(action_);
    preview.contextMenu().addAction(action_);
    QObject::connect(action_, &QAction::triggered, &connections_, [this] { run(); });
}

QString ExportCommand::defaultFile() const
{
    const QString name = QStringLiteral("blend.jpg");
    const std::optional<QString> folder = JobOutputFolder(form_);
    return folder ? CleanPath(*folder + NativePaths.separator + name) : name;
}

void ExportCommand::run()
{
    Platform& platform = form_.platform();
    ExportDialog dialog(&form_, platform, ReadExportChoices(platform, defaultFile()), uprightSize(form_.Text1->text()),
                        uprightSize(form_.Text2->text()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ExportChoices choices = dialog.choices();
    WriteExportChoices(platform, choices);

    ExportRequest request;
    request.picture1 = form_.Text1->text();
    request.picture2 = form_.Text2->text();
    request.blend = ChooseBlend(form_.Option1->isChecked(), form_.Option2->isChecked(), form_.Option3->isChecked(),
                                form_.Option4->isChecked())
                        .value_or(BlendChoice{1, 2, 0});
    request.bandStart = std::min(form_.hStart->value(), Canvas::Width);
    request.size = choices.size;
    request.fit = choices.fit;
    request.quality = choices.quality;
    request.output = choices.file;
    StopFlag stop{false};
    WorkProgress progress(form_, QStringLiteral("Export Blend"),
                          QStringLiteral("Exporting the blend to %1").arg(QDir::toNativeSeparators(request.output)),
                          ProgressSteps, stop);
    ExportControl control;
    control.stop = &stop;
    control.progress = [&progress](double done) { progress.showShareDone(done); };
    try {
        // Closing the main window stops the export.
        WindowWait wait(form_, &stop);
        wait.runAside([&request, &control] { ExportBlend(request, control); });
    } catch (const Stopped&) {
        // Cancelled: nothing was written, and nothing is to be told.
    } catch (...) {
        progress.finish();
        platform.MsgBox(&form_, FailureDescription(std::current_exception()), MsgBoxStyle::OkOnly, QString());
    }
}
