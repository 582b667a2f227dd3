#include "app/FocusMark.h"

#include <QEvent>
#include <QFocusFrame>
#include <QPointer>
#include <QWidget>

namespace {

class FocusRing : public QObject {
public:
    explicit FocusRing(QWidget* control) : QObject(control), control_(control), ring_(new QFocusFrame(control->parentWidget()))
    {
        ring_->hide();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == control_ && ring_) {
            if (event->type() == QEvent::FocusIn)
                ring_->setWidget(control_);
            else if (event->type() == QEvent::FocusOut)
                ring_->setWidget(nullptr);
        }
        return false;
    }

private:
    QWidget* control_;
    // A child of the control's parent, which may delete it first.
    QPointer<QFocusFrame> ring_;
};

} // namespace

void MarkFocusAround(QWidget* control)
{
    control->installEventFilter(new FocusRing(control));
}
