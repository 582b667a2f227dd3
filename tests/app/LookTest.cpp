#include "FormOnStore.h"

#include "desktop/CursorFile.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <cstdlib>
#include <vector>

namespace {

class LookTest : public FormOnStore {
protected:
    std::vector<QWidget*> groupingControls()
    {
        std::vector<QWidget*> controls{&form()};
        for (QWidget* w : form().findChildren<QWidget*>())
            if (qobject_cast<QGroupBox*>(w) || qobject_cast<QRadioButton*>(w))
                controls.push_back(w);
        return controls;
    }

    std::vector<QWidget*> otherControls()
    {
        return {form().Text1, form().Text2, form().Text4, form().PushButton1, form().PushButton2,
                form().PushButton3, form().PushButton4, form().PushButton5, form().PushButton7,
                form().hStart};
    }

    void expectPlainLook()
    {
        for (QWidget* w : groupingControls())
            EXPECT_EQ(w->palette().color(QPalette::Window), QColor(Qt::white)) << w->objectName().toStdString();
        EXPECT_TRUE(form().styleSheet().isEmpty());
    }

    QString skinPath() { return platform.programFolder + QStringLiteral("/x/o.cjs"); }

    void moveOver(QWidget* widget)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }
};

// A desktop colour scheme with light texts on dark surfaces, for as long as it lives.
class DarkDesktop {
public:
    DarkDesktop()
    {
        QPalette dark(QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
        dark.setColor(QPalette::Text, Qt::white);
        QGuiApplication::setPalette(dark);
    }
    ~DarkDesktop() { QGuiApplication::setPalette(before_); }
    DarkDesktop(const DarkDesktop&) = delete;
    DarkDesktop& operator=(const DarkDesktop&) = delete;

private:
    QPalette before_ = QGuiApplication::palette();
};

// Text reads on a surface when their lightness differs by half the scale or more.
bool Reads(const QPalette& palette, QPalette::ColorRole text, QPalette::ColorRole surface)
{
    return std::abs(palette.color(text).lightness() - palette.color(surface).lightness()) >= 128;
}

TEST_F(LookTest, WithoutTheSkinFileTheWindowStaysWhite)
{
    ownProgramFolder();
    form().SetUpSkin();
    expectPlainLook();
}

TEST_F(LookTest, AFolderNamedLikeTheSkinIsNoSkin)
{
    ownProgramFolder();
    ASSERT_TRUE(QDir().mkpath(skinPath()));
    form().SetUpSkin();
    expectPlainLook();
}

TEST_F(LookTest, WithTheSkinFileGroupsTakeButtonFaceBeforeTheSkinIsApplied)
{
    ownProgramFolder();
    const QByteArray sheet = "QLineEdit { border: 1px solid #123456; }";
    writeFile(skinPath(), sheet);
    std::vector<QPalette> before;
    for (QWidget* w : otherControls())
        before.push_back(w->palette());
    const auto ownColours = [](const QPalette& p) {
        return std::vector<QColor>{p.color(QPalette::Base), p.color(QPalette::Button)};
    };

    form().SetUpSkin();

    const QColor buttonFace = QGuiApplication::palette().color(QPalette::Button);
    const std::vector<QWidget*> grouping = groupingControls();
    EXPECT_EQ(grouping.size(), 13u) << "the window, six frames and six options";
    for (QWidget* w : grouping)
        EXPECT_EQ(w->palette().color(QPalette::Window), buttonFace) << w->objectName().toStdString();
    const std::vector<QWidget*> others = otherControls();
    for (std::size_t i = 0; i < others.size(); ++i)
        EXPECT_EQ(ownColours(others[i]->palette()), ownColours(before[i])) << others[i]->objectName().toStdString();
    EXPECT_EQ(form().styleSheet(), QString::fromLatin1(sheet));
}

TEST_F(LookTest, ASkinThatCannotBeReadIsReportedAndLeavesButtonFaceWithoutSkin)
{
    ownProgramFolder();
    writeFile(skinPath(), "QWidget { color: \xff\xfe; }");

    form().Form_Load();

    expectOneStartUpReport(100);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("The skin ")));
    EXPECT_EQ(form().palette().color(QPalette::Window), QGuiApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(form().styleSheet().isEmpty());
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Vantelle"));
}

TEST_F(LookTest, TheInstalledSkinIsAStyleSheetQtAccepts)
{
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { warnings << message; });
    form().SetUpSkin();
    form().grab();
    qInstallMessageHandler(previous);

    EXPECT_FALSE(form().styleSheet().isEmpty());
    EXPECT_TRUE(warnings.filter(QStringLiteral("stylesheet"), Qt::CaseInsensitive).isEmpty()) << warnings.join('\n').toStdString();
}

TEST_F(LookTest, TheHandCursorPointsWithItsFingertip)
{
    form().LoadHandCursor();
    EXPECT_EQ(form().MousePointer(), Form1::PointerDefault);
    EXPECT_EQ(form().cursor().shape(), Qt::ArrowCursor);

    form().HandPointer();

    const QCursor hand = form().cursor();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(hand.hotSpot(), QPoint(9, 1));
    EXPECT_EQ(hand.pixmap().toImage().pixelColor(9, 1), QColor(Qt::black));
    EXPECT_EQ(hand.pixmap().toImage().pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(form().Text4->cursor().shape(), Qt::BitmapCursor) << "the hand covers the text boxes too";
}

TEST_F(LookTest, WithoutTheCursorFileTheHandRuleStillSetsThePointer)
{
    ownProgramFolder();
    form().LoadHandCursor();
    form().HandPointer();
    EXPECT_EQ(form().MousePointer(), Form1::PointerCustom);
    EXPECT_NE(form().cursor().shape(), Qt::BitmapCursor);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(LookTest, ACursorFileThatIsNoCursorIsReportedAndStartUpGoesOn)
{
    ownProgramFolder();
    writeFile(platform.programFolder + QStringLiteral("/HAND-M.CUR"), QByteArray(300, 'x'));

    form().Form_Load();

    expectOneStartUpReport(108);
    EXPECT_EQ(form().Text4->text(), QStringLiteral("/home/user/Desktop/"));
    form().HandPointer();
    EXPECT_NE(form().cursor().shape(), Qt::BitmapCursor);
}

TEST(CursorFileTest, HotSpotIsTakenFromTheDirectoryAndBrokenFilesAreRefused)
{
    QFile file(QStringLiteral(VANTELLE_SOURCE_DIR "/data/HAND-M.CUR"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray cursor = file.readAll();
    EXPECT_EQ(CursorFromFileContents(cursor, QStringLiteral("hand")).hotSpot(), QPoint(9, 1));

    QByteArray moved = cursor;
    moved[10] = 20; // the entry's hot spot x
    EXPECT_EQ(CursorFromFileContents(moved, QStringLiteral("hand")).hotSpot(), QPoint(20, 1));

    QByteArray icon = cursor;
    icon[2] = 1; // an icon, not a cursor
    QByteArray outside = cursor;
    outside[12] = 40; // hot spot below the 32-pixel picture
    for (const QByteArray& broken : {icon, outside, cursor.left(60), cursor.left(10), QByteArray()})
        EXPECT_THROW(CursorFromFileContents(broken, QStringLiteral("hand")), Failure);
}

TEST(ApplicationIconTest, HoldsTheFourSizesWithAlphaWhereDesigned)
{
    QFile file(QStringLiteral(VANTELLE_SOURCE_DIR "/data/icons/vantelle.ico"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    ASSERT_GE(ico.size(), 6 + 4 * 16);
    EXPECT_EQ(ico.left(6), QByteArray("\0\0\1\0\4\0", 6));
    const struct {
        int side;
        int bits;
    } expected[] = {{256, 32}, {128, 32}, {48, 32}, {32, 24}};
    for (int i = 0; i < 4; ++i) {
        const char* entry = ico.constData() + 6 + 16 * i;
        EXPECT_EQ(static_cast<unsigned char>(entry[0]), expected[i].side % 256) << i;
        EXPECT_EQ(entry[6] | entry[7] << 8, expected[i].bits) << i;
    }

    QImageReader reader(file.fileName());
    ASSERT_EQ(reader.imageCount(), 4);
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_EQ(image.size(), QSize(expected[i].side, expected[i].side)) << reader.errorString().toStdString();
        // Only the images with alpha have transparent, rounded corners; the 24-bit one is
        // square, as a mask of its own would show black corners in Qt.
        if (expected[i].bits == 32)
            EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << expected[i].side;
        else
            EXPECT_NE(image.pixelColor(0, 0), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2).alpha(), 255) << expected[i].side;
    }
}

struct HoverCase {
    int before;
    bool hand;
    int after;
};

TEST_F(LookTest, HoverRulesNeverReplaceTheHourglass)
{
    const HoverCase cases[] = {
        {Form1::PointerDefault, false, Form1::PointerDefault}, {Form1::PointerDefault, true, Form1::PointerCustom},
        {Form1::PointerCustom, false, Form1::PointerDefault}, {Form1::PointerCustom, true, Form1::PointerCustom},
        {Form1::PointerBusy, false, Form1::PointerBusy}, {Form1::PointerBusy, true, Form1::PointerBusy},
    };
    for (const HoverCase& c : cases) {
        form().SetMousePointer(c.before);
        c.hand ? form().HandPointer() : form().ResetPointer();
        EXPECT_EQ(form().MousePointer(), c.after) << c.before << (c.hand ? " hand" : " reset");
        form().SetMousePointer(Form1::PointerDefault);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(LookTest, MovesOverTheControlsFollowTheHoverRules)
{
    Form1& f = form();
    f.LoadHandCursor();
    for (QWidget* button : {static_cast<QWidget*>(f.PushButton1), static_cast<QWidget*>(f.PushButton2),
                            static_cast<QWidget*>(f.PushButton3), static_cast<QWidget*>(f.PushButton4),
                            static_cast<QWidget*>(f.PushButton5), static_cast<QWidget*>(f.PushButton7)}) {
        f.SetMousePointer(Form1::PointerDefault);
        moveOver(button);
        EXPECT_EQ(f.MousePointer(), Form1::PointerCustom) << button->objectName().toStdString();
    }
    for (QWidget* plain : {static_cast<QWidget*>(&f), static_cast<QWidget*>(f.Frame1), static_cast<QWidget*>(f.Frame2),
                           static_cast<QWidget*>(f.Frame3), static_cast<QWidget*>(f.Frame4), static_cast<QWidget*>(f.Frame5),
                           static_cast<QWidget*>(f.Frame6), static_cast<QWidget*>(f.Option1), static_cast<QWidget*>(f.Option4),
                           static_cast<QWidget*>(f.Text1), static_cast<QWidget*>(f.Text2)}) {
        f.SetMousePointer(Form1::PointerCustom);
        moveOver(plain);
        EXPECT_EQ(f.MousePointer(), Form1::PointerDefault) << plain->objectName().toStdString();
    }
    // No rule of their own: the pointer stays what the last rule made it.
    for (QWidget* keeps : {static_cast<QWidget*>(f.Text4), static_cast<QWidget*>(f.Option5),
                           static_cast<QWidget*>(f.Option6), static_cast<QWidget*>(f.hStart)}) {
        f.SetMousePointer(Form1::PointerCustom);
        moveOver(keeps);
        EXPECT_EQ(f.MousePointer(), Form1::PointerCustom) << keeps->objectName().toStdString();
    }
    // During a job the hourglass stays whatever the mouse crosses.
    f.SetMousePointer(Form1::PointerBusy);
    moveOver(f.PushButton2);
    moveOver(f.Text1);
    EXPECT_EQ(f.MousePointer(), Form1::PointerBusy);
    EXPECT_EQ(f.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(f.Text1->cursor().shape(), Qt::WaitCursor);
    f.SetMousePointer(Form1::PointerDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(f.Text4->cursor().shape(), Qt::IBeamCursor);
}

// On a dark desktop the designed white surfaces keep dark texts; the text boxes and the
// scroll bar keep the desktop's own colours, which read on their own dark surfaces.
TEST_F(LookTest, OnADarkDesktopTheDesignedColoursKeepTextsThatReadOnThem)
{
    const DarkDesktop dark;
    Form1& f = form();
    for (QWidget* w : groupingControls())
        EXPECT_TRUE(Reads(w->palette(), QPalette::WindowText, QPalette::Window)) << w->objectName().toStdString();
    for (QWidget* option : {f.Option1, f.Option2, f.Option3, f.Option4, f.Option5, f.Option6})
        EXPECT_TRUE(Reads(option->palette(), QPalette::Text, QPalette::Base)) << option->objectName().toStdString();
    for (QWidget* button : {f.PushButton1, f.PushButton2, f.PushButton3, f.PushButton4, f.PushButton5, f.PushButton7})
        EXPECT_TRUE(Reads(button->palette(), QPalette::ButtonText, QPalette::Button)) << button->objectName().toStdString();
    for (QWidget* box : {f.Text1, f.Text2, f.Text4}) {
        EXPECT_EQ(box->palette().color(QPalette::Base), QGuiApplication::palette().color(QPalette::Base));
        EXPECT_EQ(box->palette().color(QPalette::Text), QGuiApplication::palette().color(QPalette::Text));
    }
    // A disabled button still looks disabled.
    const QPalette button = f.PushButton5->palette();
    EXPECT_NE(button.color(QPalette::Disabled, QPalette::ButtonText), button.color(QPalette::Active, QPalette::ButtonText));
}

// The skin is light and the dialogs inherit its buttons and fields: on a dark desktop they
// must not keep dark surfaces under them.
TEST_F(LookTest, WithTheSkinTheWindowsDialogsAreLightOnADarkDesktop)
{
    const DarkDesktop dark;
    form().SetUpSkin();
    ASSERT_FALSE(form().styleSheet().isEmpty());

    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantelle"), QStringLiteral("Done."), QMessageBox::Ok, &form());
    box.ensurePolished();
    const QPalette palette = box.palette();
    EXPECT_GE(palette.color(QPalette::Window).lightness(), 192);
    EXPECT_TRUE(Reads(palette, QPalette::WindowText, QPalette::Window));
    EXPECT_TRUE(Reads(palette, QPalette::Text, QPalette::Base));
    EXPECT_GE(palette.color(QPalette::Base).lightness(), 192);
}

} // namespace
