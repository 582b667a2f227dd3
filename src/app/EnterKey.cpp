#include "app/EnterKey.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

class EnterPresses : public QObject {
public:
    explicit EnterPresses(QPushButton* button) : QObject(button), button_(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != button_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        // Held down, the key presses the button once, as Space does.
        if (!key->isAutoRepeat())
            button_->click();
        return true;
    }

private:
    QPushButton* button_;
};

} // namespace

void PressOnEnter(QPushButton* button)
{
    button->installEventFilter(new EnterPresses(button));
}
