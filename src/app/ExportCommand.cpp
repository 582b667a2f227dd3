#include "app/ExportCommand.h"

#include "app/ExportDialog.h"
#include "app/Form1.h"
#include "app/JobOutputFolder.h"
#include "app/LivePreview.h"
#include "app/PreviewWindow.h"
#include "app/WindowWait.h"
#include "engine/Canvas.h"
#include "job/ExportBlend.h"
#include "job/PathRoutines.h"
#include "report/Trap.h"

#include <QDir>
#include <QAction>
#include <QEvent>
#include <QImageReader>
#include <QMenu>
#include <QProgressDialog>

#include <algorithm>

namespace {

// The picture's size as its file's header gives it, for the dialog; empty when unknown.
QSize storedSize(const QString& path)
{
    return path.isEmpty() ? QSize() : QImageReader(path).size();
}

// An export longer than this shows its progress and a Cancel button.
constexpr int ProgressAfterMs = 500;
constexpr int ProgressSteps = 1000;

// Closing the main window while an export runs stops the export.
class StopOnClose : public QObject {
public:
    explicit StopOnClose(StopFlag& stop) : stop_(stop) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            stop_ = true;
        return false;
    }

private:
    StopFlag& stop_;
};

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
    ExportDialog dialog(&form_, ReadExportChoices(platform, defaultFile()), storedSize(form_.Text1->text()),
                        storedSize(form_.Text2->text()));
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
    QProgressDialog progress(QStringLiteral("Exporting the blend to %1").arg(QDir::toNativeSeparators(request.output)),
                             QStringLiteral("Cancel"), 0, ProgressSteps, &form_);
    progress.setWindowTitle(QStringLiteral("Export Blend"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(ProgressAfterMs);
    progress.setValue(0);
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&stop] { stop = true; });
    StopOnClose stopOnClose(stop);
    form_.installEventFilter(&stopOnClose);
    ExportControl control;
    control.stop = &stop;
    control.progress = [&progress](double done) {
        QMetaObject::invokeMethod(&progress, [&progress, done] { progress.setValue(static_cast<int>(done * ProgressSteps)); },
                                  Qt::QueuedConnection);
    };
    try {
        WindowWait wait(form_);
        wait.runAside([&request, &control] { ExportBlend(request, control); });
    } catch (const Stopped&) {
        // Cancelled: nothing was written, and nothing is to be told.
    } catch (...) {
        platform.MsgBox(&form_, FailureDescription(std::current_exception()), MsgBoxStyle::OkOnly, QString());
    }
}
