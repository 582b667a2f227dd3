#include "app/Form1.h"
#include "app/JobOutputFolder.h"
#include "app/WindowWait.h"
#include "app/WorkProgress.h"

#include "engine/PairComposition.h"
#include "job/BlendPictures.h"
#include "job/PathRoutines.h"
#include "job/ResultWriter.h"
#include "platform/FileSystem.h"
#include "platform/PictureLoader.h"
#include "report/Trap.h"

#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>

#include <optional>

namespace {

const char* const ResultFileName = "result.jpg";

// Where the result goes, before cleaning: empty text when neither save option is selected or
// picture #1 names no file.
QString OutputPath(const Form1& form)
{
    const std::optional<QString> folder = JobOutputFolder(form);
    return folder ? *folder + NativePaths.separator + QLatin1String(ResultFileName) : QString();
}

QString FieldText(const Form1& form, int field)
{
    return field == 1 ? form.Text1->text() : form.Text2->text();
}

// However the job ends, the pointer is normal again afterwards.
class NormalPointerAtEnd {
public:
    explicit NormalPointerAtEnd(Form1& form) : form_(form) {}
    ~NormalPointerAtEnd() { form_.SetMousePointer(Form1::PointerDefault); }
    NormalPointerAtEnd(const NormalPointerAtEnd&) = delete;
    NormalPointerAtEnd& operator=(const NormalPointerAtEnd&) = delete;

private:
    Form1& form_;
};

} // namespace

void Form1::PushButton2_Click()
{
    // The job lets window events through while it runs; a press of this button among them
    // must not start a second job inside the first.
    if (jobRunning_)
        return;
    const QScopedValueRollback<bool> running(jobRunning_, true);
    Trap trap(platform(), this, QStringLiteral("PushButton2_Click"));

    // "Save results in folder of original file" takes the folder of picture #1; with none
    // named there is no folder, and the result is never sent to the file system's root instead.
    const bool noPictureFolder = Option6->isChecked() && Text1->text().isEmpty();
    if (!trap.test(100, [&] { return (FolderExists(Text4->text()) || Option6->isChecked()) && !noPictureFolder; })) {
        trap.line(102, [&] {
            platform().MsgBox(this,
                              noPictureFolder ? QStringLiteral("There is no picture #1 to take the folder from. Please "
                                                               "select a picture for Image #1.")
                                              : QStringLiteral("Folder does not exist. Please select another folder."),
                              MsgBoxStyle::OkOnly, QString());
        });
        return;
    }
    const NormalPointerAtEnd normalPointerAtEnd(*this);
    // From here on neither the window nor the preview takes the user's input; closing the
    // window ends the program, and the job at its next event pass, however early it came.
    // Closing it also stops the loads, which are then not waited for.
    StopFlag stop{false};
    WindowWait wait(*this, &stop);
    trap.line(104, [&] { SetMousePointer(PointerBusy); });
    // Beside the hourglass, a job that takes longer than half a second shows that it runs and
    // offers Cancel: the loads stop at their next row, and the job writes, opens and tells
    // nothing. Composing and writing the canvas take a moment and no events, so the long part
    // is over once the pictures are in; the progress goes before anything is reported.
    WorkProgress progress(*this, windowTitle(), QStringLiteral("Blending the two pictures…"), 0, stop);
    const auto longPartOver = [&] {
        progress.finish();
        return !stop;
    };
    QString outputPath;
    trap.line(106, [&] { outputPath = OutputPath(*this); });
    trap.line(108, [&] { outputPath = CleanPath(outputPath); });
    // The hourglass shows before the long steps. An earlier result stays until the writer
    // replaces it with a complete new one, so a job that fails on the way keeps it.
    bool windowOpen = true;
    trap.line(110, [&] { windowOpen = wait.passEvents(); });
    if (!windowOpen || stop)
        return;

    // With no blend option selected nothing is composed, and picDest's image is written as it is.
    if (const std::optional<BlendChoice> choice = ChooseBlend(Option1->isChecked(), Option2->isChecked(),
                                                              Option3->isChecked(), Option4->isChecked())) {
        // Both pictures load at once, away from the window, which keeps repainting under the
        // hourglass meanwhile; their failures are reported in the job's order and end the
        // job, which then has no pair to compose. Closing the window ends the job here.
        BlendPictures pictures;
        Picture base;
        Picture overlay;
        if (!trap.line(112, [&] {
                StoppingLoader loader(platform(), stop);
                const QString basePath = FieldText(*this, choice->baseField);
                const QString overlayPath = FieldText(*this, choice->overlayField);
                windowOpen = wait.runAside([&] { pictures = LoadBlendPictures(loader, basePath, overlayPath); });
            })
            || !windowOpen || !longPartOver())
            return;
        const bool baseLoaded = trap.line(114, [&] { base = TakePicture(pictures.base); });
        const bool overlayLoaded = trap.line(116, [&] { overlay = TakePicture(pictures.overlay); });
        if (!baseLoaded || !overlayLoaded)
            return;
        trap.line(118, [&] {
            hStart->setMaximum(canvases.picDest.ScaleWidth());
            hEnd->setMaximum(canvases.picDest.ScaleWidth());
        });
        if (!trap.line(120, [&] {
                ComposePair(canvases, loaded, std::move(base), std::move(overlay), choice->direction,
                            hStart->value(), blitter);
            }))
            return;
    }

    if (!longPartOver())
        return;
    if (ResultFormatOf(outputPath) == ResultFormat::Invalid) {
        trap.line(122, [&] {
            platform().MsgBox(this, QStringLiteral("Invalid output file format"), MsgBoxStyle::OkOnly, QString());
        });
        return;
    }
    // Picture #1 may itself be called "result.jpg", in the very folder the result goes to.
    if (!trap.line(124, [&] {
            RefuseWritingOverAPicture(outputPath, {Text1->text(), Text2->text()});
            WriteResult(canvases.picDest.Image(), outputPath);
        }))
        return;
    trap.line(126, [&] { platform().OpenDocument(outputPath); });
    trap.line(128, [&] { platform().MsgBox(this, QStringLiteral("Done."), MsgBoxStyle::OkOnly, QString()); });
}
