#pragma once

#include <QRadioButton>

#include <initializer_list>
#include <vector>

// An option button of a group that may have none selected (the groups start that way and
// restored settings can leave them so). Qt's own exclusive groups cannot be emptied, so the
// group rule is kept by OptionGroup instead. A click never unselects an option.
class OptionButton : public QRadioButton {
public:
    OptionButton(const QString& caption, QWidget* parent);

protected:
    void nextCheckState() override;
};

// Selecting one option of the group unselects the others. Connect the group before any
// click handler, so that a handler sees the others already unselected.
void MakeOptionGroup(std::initializer_list<OptionButton*> options);
