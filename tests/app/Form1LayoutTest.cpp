#include "app/Form1.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

// The designed window, control by control, in tab order: name, container, caption, and the
// place and size in twips (15 to a pixel).
struct Designed {
    const char* name;
    const char* container;
    const char* caption;
    int left, top, width, height;
};

const Designed Table[] = {
    {"Frame1", "Form1", "Blend Option", 120, 4740, 7800, 735},
    {"Option1", "Frame1", "Blend Left", 240, 300, 1365, 285},
    {"Option2", "Frame1", "Blend Right", 1680, 300, 1365, 285},
    {"Option3", "Frame1", "Blend Top", 3330, 300, 1365, 285},
    {"Option4", "Frame1", "Blend Bottom", 4905, 300, 1545, 285},
    {"PushButton2", "Form1", "Start Blending Two Image", 120, 6450, 7800, 405},
    {"PushButton4", "Form1", "Help", 120, 120, 7800, 405},
    {"Frame2", "Form1", "Blend Size", 120, 5535, 7800, 800},
    {"hStart", "Frame2", "", 240, 300, 7335, 345},
    {"Frame4", "Form1", "Image #1", 120, 600, 7800, 800},
    {"Text1", "Frame4", "", 240, 300, 6585, 345},
    {"PushButton1", "Frame4", "...", 6960, 300, 600, 345},
    {"Frame5", "Form1", "Image #2", 120, 1485, 7800, 800},
    {"Text2", "Frame5", "", 240, 300, 6585, 345},
    {"PushButton3", "Frame5", "...", 6960, 300, 600, 345},
    {"PushButton7", "Form1", "Load Sample/Example Files", 120, 2400, 7800, 405},
    {"Frame6", "Form1", "Save Option", 120, 2860, 7800, 1815},
    {"Option6", "Frame6", "Save results in folder of original file", 240, 1410, 3615, 255},
    {"Option5", "Frame6", "Save results to this folder:", 240, 300, 3615, 255},
    {"Frame3", "Frame6", "", 480, 510, 6840, 810},
    {"Text4", "Frame3", "", 240, 300, 5670, 345},
    {"PushButton5", "Frame3", "...", 6000, 300, 600, 345},
};

int px(int twips) { return (twips + 7) / 15; }

QString captionOf(const QWidget* w)
{
    if (auto* box = qobject_cast<const QGroupBox*>(w))
        return box->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    return QString();
}

class Form1Layout : public ::testing::Test {
protected:
    FakePlatform platform;
    Form1 form{platform};
};

TEST_F(Form1Layout, EveryControlHasItsDesignedContainerCaptionPlaceAndSize)
{
    for (const Designed& d : Table) {
        const auto* w = form.findChild<QWidget*>(QString::fromLatin1(d.name));
        ASSERT_NE(w, nullptr) << d.name;
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(d.container)) << d.name;
        EXPECT_EQ(captionOf(w), QString::fromLatin1(d.caption)) << d.name;
        EXPECT_EQ(w->geometry(), QRect(px(d.left), px(d.top), px(d.width), px(d.height))) << d.name;
    }
    EXPECT_EQ(form.size(), QSize(536, 465));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Form1"));
}

TEST_F(Form1Layout, FocusMovesThroughTheVisibleControlsInTabOrder)
{
    form.show();
    QStringList order;
    QWidget* w = form.Option1;
    do {
        if (w->isVisibleTo(&form) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled())
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != form.Option1);
    EXPECT_EQ(order, (QStringList{"Option1", "Option2", "Option3", "Option4", "PushButton2",
                                  "PushButton4", "hStart", "Text1", "PushButton1", "Text2",
                                  "PushButton3", "PushButton7", "Option6", "Option5", "Text4",
                                  "PushButton5"}));
}

TEST_F(Form1Layout, TheWindowHasAFixedSizeAndNoMaximiseButton)
{
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

TEST_F(Form1Layout, FontsAndColoursAreAsDesigned)
{
    EXPECT_EQ(form.font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(form.font().pointSizeF(), 9.0);
    EXPECT_TRUE(form.font().bold());
    EXPECT_EQ(form.Text1->font(), form.font()) << "text boxes show the window's font";
    for (QPushButton* b : {form.PushButton1, form.PushButton2, form.PushButton3, form.PushButton4,
                           form.PushButton5, form.PushButton7}) {
        EXPECT_EQ(b->font().pointSizeF(), 11.25);
        EXPECT_TRUE(b->font().bold());
        EXPECT_EQ(b->palette().color(QPalette::Button), QColor(Qt::white));
    }
    for (QWidget* w : std::initializer_list<QWidget*>{&form, form.Frame1, form.Frame3, form.Frame6,
                                                      form.Option1, form.Option5, form.Option6}) {
        EXPECT_TRUE(w->autoFillBackground()) << w->objectName().toStdString();
        EXPECT_EQ(w->palette().color(QPalette::Window), QColor(Qt::white)) << w->objectName().toStdString();
    }
}

TEST_F(Form1Layout, OptionGroupsAreSeparateAndStartAsDesigned)
{
    for (OptionButton* o : {form.Option1, form.Option2, form.Option3, form.Option4, form.Option6})
        EXPECT_FALSE(o->isChecked());
    EXPECT_TRUE(form.Option5->isChecked());

    form.Option1->click();
    form.Option3->click();
    EXPECT_FALSE(form.Option1->isChecked());
    EXPECT_TRUE(form.Option3->isChecked());
    EXPECT_TRUE(form.Option5->isChecked()) << "the save options are another group";

    form.Option3->click();
    EXPECT_TRUE(form.Option3->isChecked()) << "clicking a selected option keeps it selected";
}

TEST_F(Form1Layout, DisablingTheFolderFrameDisablesItsTwoControls)
{
    form.Frame3->setEnabled(false);
    EXPECT_FALSE(form.Text4->isEnabled());
    EXPECT_FALSE(form.PushButton5->isEnabled());
    EXPECT_TRUE(form.Option5->isEnabled());
}

TEST_F(Form1Layout, ScrollBarsAndCanvasesStartAsDesigned)
{
    // The canvas width as maximum from the start (designed as 32767 until the first job,
    // which lowered a band start chosen before it to no fade at all).
    for (QScrollBar* bar : {form.hStart, form.hEnd}) {
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 729);
        EXPECT_EQ(bar->pageStep(), 20);
        EXPECT_EQ(bar->singleStep(), 1);
    }
    EXPECT_EQ(form.hStart->value(), 0);
    EXPECT_EQ(form.hEnd->value(), 729);
    EXPECT_FALSE(form.hEnd->isVisibleTo(&form));

    struct {
        const Canvas& canvas;
        std::uint32_t back;
    } canvases[] = {{form.canvases.pic1, 0xffc00000u}, {form.canvases.pic2, 0xff0000c0u},
                    {form.canvases.picDest, 0xffffffffu}};
    for (const auto& c : canvases) {
        EXPECT_EQ(c.canvas.ScaleWidth(), 729);
        EXPECT_EQ(c.canvas.ScaleHeight(), 425);
        EXPECT_TRUE(c.canvas.picture().isNull()) << "no designed picture";
        EXPECT_EQ(c.canvas.Image().row(212)[364], c.back);
    }
}

TEST_F(Form1Layout, OpensCentredOnTheScreen)
{
    form.show();
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_LE(std::abs(form.frameGeometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(form.frameGeometry().center().y() - screen.center().y()), 1);
}

} // namespace
