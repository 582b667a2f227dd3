#include "app/BackColor.h"

#include <QAbstractButton>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

#include <initializer_list>

namespace {

// Takes the roles from the palette Qt derives from `color`, which pairs it with black or
// white text and greys for the disabled state.
void takeMatchingColors(QPalette& palette, const QColor& color, std::initializer_list<QPalette::ColorRole> roles)
{
    const QPalette matching(color);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (const QPalette::ColorRole role : roles)
            palette.setColor(group, role, matching.color(group, role));
}

} // namespace

void SetBackColor(QWidget* control, const QColor& color)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, color);
    // Text and base colours set on a frame would reach the text boxes inside it; an option's
    // mark is drawn in them, and it has nothing inside.
    if (qobject_cast<QAbstractButton*>(control))
        takeMatchingColors(palette, color, {QPalette::WindowText, QPalette::Base, QPalette::Text});
    else
        takeMatchingColors(palette, color, {QPalette::WindowText});
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void SetFaceColor(QPushButton* button, const QColor& color)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, color);
    takeMatchingColors(palette, color, {QPalette::ButtonText});
    button->setPalette(palette);
}
