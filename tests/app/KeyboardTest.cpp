#include "app/Form1.h"

#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QFocusFrame>
#include <QScrollBar>
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

// A horizontal scroll bar moves the way its keys point: Right and Down one step up, Left and
// Up one step down, Page Down and Page Up a page of 20, Home and End to either end. Qt's bar
// turns the arrows of a horizontal bar round.
TEST(KeyboardTest, TheBlendStartMovesTheWayItsKeysPoint)
{
    FakePlatform platform;
    Form1 form(platform);
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int from;
        int to;
    };
    const Case cases[] = {
        {"Right", Qt::Key_Right, Qt::NoModifier, 100, 101},
        {"Down", Qt::Key_Down, Qt::NoModifier, 100, 101},
        {"Left", Qt::Key_Left, Qt::NoModifier, 100, 99},
        {"Up", Qt::Key_Up, Qt::NoModifier, 100, 99},
        {"Page Down", Qt::Key_PageDown, Qt::NoModifier, 100, 120},
        {"Page Up", Qt::Key_PageUp, Qt::NoModifier, 100, 80},
        {"Home", Qt::Key_Home, Qt::NoModifier, 100, 0},
        {"End", Qt::Key_End, Qt::NoModifier, 100, 729},
        {"keypad Right", Qt::Key_Right, Qt::KeypadModifier, 100, 101},
        {"keypad Page Up", Qt::Key_PageUp, Qt::KeypadModifier, 100, 80},
        // At the ends the value stays in the range.
        {"Left at 0", Qt::Key_Left, Qt::NoModifier, 0, 0},
        {"Page Up at 10", Qt::Key_PageUp, Qt::NoModifier, 10, 0},
        {"Right at the end", Qt::Key_Right, Qt::NoModifier, 729, 729},
        {"Page Down near the end", Qt::Key_PageDown, Qt::NoModifier, 720, 729},
    };
    for (QScrollBar* bar : {form.hStart, form.hEnd}) {
        ASSERT_EQ(bar->orientation(), Qt::Horizontal);
        ASSERT_EQ(bar->maximum(), 729);
        for (const Case& c : cases) {
            bar->setValue(c.from);
            QTest::keyClick(bar, c.key, c.modifiers);
            EXPECT_EQ(bar->value(), c.to) << bar->objectName().toStdString() << ": " << c.name;
        }
    }
}

} // namespace
