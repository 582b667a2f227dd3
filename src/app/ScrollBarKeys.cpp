#include "app/ScrollBarKeys.h"

#include <QKeyEvent>
#include <QScrollBar>

#include <optional>

namespace {

std::optional<QAbstractSlider::SliderAction> actionOf(int key)
{
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_PageDown:
        return QAbstractSlider::SliderPageStepAdd;
    case Qt::Key_PageUp:
        return QAbstractSlider::SliderPageStepSub;
    case Qt::Key_Home:
        return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End:
        return QAbstractSlider::SliderToMaximum;
    default:
        return std::nullopt;
    }
}

class KeysAsPointed : public QObject {
public:
    explicit KeysAsPointed(QScrollBar* bar) : QObject(bar), bar_(bar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != bar_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        // With Ctrl, Alt or Shift the key is someone else's, a shortcut's for one.
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        const std::optional<QAbstractSlider::SliderAction> action = actionOf(key->key());
        if (!action)
            return false;
        bar_->triggerAction(*action);
        return true;
    }

private:
    QScrollBar* bar_;
};

} // namespace

void MoveWithKeysAsPointed(QScrollBar* bar)
{
    bar->installEventFilter(new KeysAsPointed(bar));
}
