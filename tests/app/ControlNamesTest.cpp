#include "app/Form1.h"

#include "fakes/FakePlatform.h"

#include <QToolTip>

#include <gtest/gtest.h>

namespace {

TEST(ControlNamesTest, TheUncaptionedControlsHaveNamesAndTipsAndKeepTheirCaptions)
{
    FakePlatform platform;
    Form1 form(platform);
    const struct {
        QWidget* control;
        QString name;
    } cases[] = {
        {form.PushButton1, QStringLiteral("Choose picture #1")},
        {form.PushButton3, QStringLiteral("Choose picture #2")},
        {form.PushButton5, QStringLiteral("Choose output folder")},
        {form.Text1, QStringLiteral("Picture #1")},
        {form.Text2, QStringLiteral("Picture #2")},
        {form.Text4, QStringLiteral("Output folder")},
        {form.hStart, QStringLiteral("Blend start")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.control->accessibleName(), c.name) << c.control->objectName().toStdString();
        EXPECT_FALSE(c.control->toolTip().isEmpty()) << c.control->objectName().toStdString();
    }
    for (QPushButton* button : {form.PushButton1, form.PushButton3, form.PushButton5})
        EXPECT_EQ(button->text(), QStringLiteral("..."));
    EXPECT_TRUE(form.Text1->text().isEmpty());
}

TEST(ControlNamesTest, TheScrollBarShowsItsValueWhileItMoves)
{
    FakePlatform platform;
    Form1 form(platform);
    form.show();
    form.hStart->setMaximum(729);
    form.hStart->setValue(100);

    form.hStart->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Blend start: 101"));

    form.hStart->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Blend start: 81"));
    QToolTip::hideText();
}

} // namespace
