#include "app/Form1.h"

#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QFocusFrame>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool presses;
};

// "Help" shows the usage tip: one message per press.
TEST(KeyboardTest, ReturnAndTheKeypadEnterPressTheFocusedButton)
{
    const KeyCase cases[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier, true},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true},
        {"Space", Qt::Key_Space, Qt::NoModifier, true},
        {"Ctrl+Return", Qt::Key_Return, Qt::ControlModifier, false},
        {"a letter", Qt::Key_A, Qt::NoModifier, false},
    };
    for (const KeyCase& c : cases) {
        FakePlatform platform;
        Form1 form(platform);
        QTest::keyClick(form.PushButton4, c.key, c.modifiers);
        EXPECT_EQ(platform.messages.size(), c.presses ? 1u : 0u) << c.name;
    }
}

TEST(KeyboardTest, AHeldEnterPressesOnce)
{
    FakePlatform platform;
    Form1 form(platform);
    QKeyEvent first(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(form.PushButton4, &first);
    QApplication::sendEvent(form.PushButton4, &repeated);
    QApplication::sendEvent(form.PushButton4, &repeated);
    EXPECT_EQ(platform.messages.size(), 1u);
}

// Qt's styles draw no focus on a scroll bar; a ring around it shows while it has the focus.
TEST(KeyboardTest, TheScrollBarIsRingedWhileItHasTheFocus)
{
    FakePlatform platform;
    Form1 form(platform);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const auto ringAroundBar = [&] {
        for (const QFocusFrame* ring : form.findChildren<QFocusFrame*>())
            if (ring->isVisible() && ring->widget() == form.hStart
                && ring->geometry().contains(form.hStart->geometry()))
                return true;
        return false;
    };

    form.hStart->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(ringAroundBar());
    form.PushButton2->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(ringAroundBar());
}

} // namespace
