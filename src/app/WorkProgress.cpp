#include "app/WorkProgress.h"

#include <QProgressDialog>

namespace {

// Work shorter than this shows no dialog at all.
constexpr int ShownAfterMs = 500;

} // namespace

WorkProgress::WorkProgress(QWidget& owner, const QString& title, const QString& text, int steps, StopFlag& stop)
    : dialog_(std::make_unique<QProgressDialog>(text, QStringLiteral("Cancel"), 0, steps, &owner)), steps_(steps)
{
    dialog_->setWindowTitle(title);
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(ShownAfterMs);
    dialog_->setValue(0);
    QObject::connect(dialog_.get(), &QProgressDialog::canceled, dialog_.get(), [&stop] { stop = true; });
}

WorkProgress::~WorkProgress() = default;

void WorkProgress::showShareDone(double done)
{
    QProgressDialog* dialog = dialog_.get();
    const int value = static_cast<int>(done * steps_);
    QMetaObject::invokeMethod(dialog, [dialog, value] { dialog->setValue(value); }, Qt::QueuedConnection);
}

void WorkProgress::finish()
{
    dialog_->reset();
}
