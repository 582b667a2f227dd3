#include "app/OptionButton.h"

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent)
{
    setAutoExclusive(false);
}

void OptionButton::nextCheckState()
{
    setChecked(true);
}

void MakeOptionGroup(std::initializer_list<OptionButton*> options)
{
    const std::vector<OptionButton*> group(options);
    for (OptionButton* option : group) {
        QObject::connect(option, &QAbstractButton::toggled, option, [group, option](bool on) {
            if (!on)
                return;
            for (OptionButton* other : group)
                if (other != option)
                    other->setChecked(false);
        });
    }
}
