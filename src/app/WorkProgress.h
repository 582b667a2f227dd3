#pragma once

#include "core/StopFlag.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// The progress of long work of the window, with Cancel: a dialog over the window that shows
// only once the work has taken longer than half a second. Cancel, or closing the dialog, sets
// the stop flag; the work stops at its next check of it.
class WorkProgress {
public:
    // `steps` 0 shows that the work goes on without saying how far it is.
    WorkProgress(QWidget& owner, const QString& title, const QString& text, int steps, StopFlag& stop);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // The share of the work done, 0 to 1, told from any thread; the dialog shows it from the
    // window's thread.
    void showShareDone(double done);
    // The long part is over: the dialog goes, and does not show up later.
    void finish();

private:
    std::unique_ptr<QProgressDialog> dialog_;
    int steps_;
};
