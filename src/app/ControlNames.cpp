#include "app/ControlNames.h"

#include "app/Form1.h"

#include <QToolTip>

namespace {

void nameControl(QWidget* control, const QString& name, const QString& tip)
{
    control->setAccessibleName(name);
    control->setToolTip(tip);
}

// The value as the bar's thumb reaches it, shown above the thumb's place.
void showValueWhileMoving(QScrollBar* bar, const QString& name)
{
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar, name] {
        const int position = bar->sliderPosition();
        const int span = bar->maximum() - bar->minimum();
        const int x = span > 0 ? static_cast<int>(static_cast<qint64>(position - bar->minimum()) * bar->width() / span) : 0;
        QToolTip::showText(bar->mapToGlobal(QPoint(x, 0)), QStringLiteral("%1: %2").arg(name).arg(position), bar);
    });
}

} // namespace

void NameControls(Form1& form)
{
    nameControl(form.Text1, QStringLiteral("Picture #1"), QStringLiteral("The file of picture #1"));
    nameControl(form.PushButton1, QStringLiteral("Choose picture #1"), QStringLiteral("Choose picture #1"));
    nameControl(form.Text2, QStringLiteral("Picture #2"), QStringLiteral("The file of picture #2"));
    nameControl(form.PushButton3, QStringLiteral("Choose picture #2"), QStringLiteral("Choose picture #2"));
    nameControl(form.Text4, QStringLiteral("Output folder"), QStringLiteral("The folder that receives result.jpg"));
    nameControl(form.PushButton5, QStringLiteral("Choose output folder"), QStringLiteral("Choose output folder"));
    const QString blendStart = QStringLiteral("Blend start");
    nameControl(form.hStart, blendStart, QStringLiteral("Where the fade starts, in pixels from the side"));
    showValueWhileMoving(form.hStart, blendStart);
}
