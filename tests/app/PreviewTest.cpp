#include "app/Form1.h"
#include "app/LivePreview.h"
#include "app/PreviewPlace.h"
#include "app/PreviewWindow.h"

#include "StoreFixture.h"
#include "UserClose.h"
#include "job/FileFaults.h"
#include "report/Trap.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMap>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

// The faked platform, counting the pictures it loads; a load can be held back.
class CountingPlatform : public FailingPlatform {
public:
    std::atomic<int> loads = 0;
    std::atomic<bool> holdLoads = false;

    Picture LoadPicture(const QString& path) override
    {
        ++loads;
        // A test that never lets go fails on its own assertions, not by hanging.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (holdLoads && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return FakePlatform::LoadPicture(path);
    }
};

bool SamePixels(const Picture& a, const Picture& b)
{
    if (a.isNull() || b.isNull() || a.width != b.width || a.height != b.height)
        return false;
    for (int y = 0; y < a.height; ++y)
        if (!std::equal(a.row(y), a.row(y) + a.width, b.row(y)))
            return false;
    return true;
}

int LargestChannelError(const Picture& expected, const QImage& actual)
{
    int largest = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            const QRgb e = expected.row(y)[x];
            const QRgb a = actual.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(e) - qRed(a)), std::abs(qGreen(e) - qGreen(a)),
                                std::abs(qBlue(e) - qBlue(a))});
        }
    return largest;
}

// A picture of gradients and stripes, so that a wrong side, band or stretch shows.
void savePattern(const QString& path, int width, int height, int tint)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 255 / width + tint) % 256, (y * 255 / height) ^ tint, ((x / 16 + y / 16) % 2) * 200));
    ASSERT_TRUE(image.save(path, nullptr, 95));
}

// The main window on the faked platform with two pattern pictures (a JPEG that is decoded
// shrunk and a small PNG that is enlarged), "Blend Left" from band start 0, and an output
// folder for the start button. The store starts empty.
class PreviewTest : public StoreFixture {
protected:
    PreviewTest()
    {
        savePattern(first, 1600, 900, 0);
        savePattern(second, 300, 200, 90);
        savePattern(third, 500, 700, 170);
        EXPECT_TRUE(PutFile(notAPicture, "no picture in here"));
        EXPECT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
        form->Text1->setText(first);
        form->Text2->setText(second);
        form->Text4->setText(outFolder + QLatin1Char('/'));
        form->Option5->setChecked(true);
        form->Option1->setChecked(true);
        form->hStart->setValue(0);
    }

    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    LivePreview& preview() const { return form->preview(); }
    PreviewWindow& window() const { return form->preview().window(); }

    void open()
    {
        if (!preview().isOpen())
            preview().showAction().trigger();
        ASSERT_TRUE(window().isVisible());
    }

    // Waits for the loads in the background to bring a picture.
    void waitForPicture()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window().picture().isNull(); }, 10000)) << window().message().toStdString();
    }

    // The result of the start button's steps for two files, composed apart from the window.
    Picture composedApart(const QString& base, const QString& overlay, double direction, double bandStart)
    {
        Canvases canvases;
        LoadedPair loaded;
        ConstantAlphaBlitter blitter;
        ComposePair(canvases, loaded, counted.LoadPicture(base), counted.LoadPicture(overlay), direction, bandStart, blitter);
        return canvases.picDest.Image();
    }

    QString failureOf(const QString& path)
    {
        try {
            counted.LoadPicture(path);
        } catch (...) {
            return FailureDescription(std::current_exception());
        }
        return QString();
    }

    // The preview has shown no message box, opened nothing and written no file.
    void expectPreviewLeftNoTrace()
    {
        EXPECT_TRUE(counted.messages.empty()) << counted.messageTexts().join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(counted.openedDocuments.isEmpty());
        EXPECT_TRUE(EntriesOf(outFolder).isEmpty());
        EXPECT_EQ(EntriesOf(dir.path()).size(), 5);
    }

    QTemporaryDir dir;
    const QString first = in(QStringLiteral("first ü.jpg"));
    const QString second = in(QStringLiteral("second.png"));
    const QString third = in(QStringLiteral("third.png"));
    const QString notAPicture = in(QStringLiteral("notes.jpg"));
    const QString outFolder = in(QStringLiteral("out"));
    CountingPlatform counted;
    std::unique_ptr<Form1> form = std::make_unique<Form1>(counted);
};

} // namespace

TEST_F(PreviewTest, ShowsExactlyWhatTheStartButtonWritesForEachSideAndBandStart)
{
    open();
    waitForPicture();
    ASSERT_EQ(counted.loads, 2);

    struct Case {
        OptionButton* side;
        int bandStart;
    };
    std::vector<Case> cases;
    for (OptionButton* side : {form->Option1, form->Option2, form->Option3, form->Option4})
        for (const int bandStart : {0, 120, 400, 700, 729})
            cases.push_back({side, bandStart});

    // The preview follows at once, from the pictures it keeps: nothing is decoded again.
    std::vector<Picture> shown;
    for (const Case& c : cases) {
        c.side->setChecked(true);
        form->hStart->setValue(c.bandStart);
        shown.push_back(window().picture());
        ASSERT_EQ(shown.back().width, 729);
        ASSERT_EQ(shown.back().height, 425);
    }
    EXPECT_EQ(counted.loads, 2);
    expectPreviewLeftNoTrace();

    for (std::size_t i = 0; i < cases.size(); ++i) {
        cases[i].side->setChecked(true);
        form->hStart->setValue(cases[i].bandStart);
        form->PushButton2_Click();
        const std::string name = cases[i].side->text().toStdString() + " from " + std::to_string(cases[i].bandStart);
        EXPECT_TRUE(SamePixels(shown[i], form->canvases.picDest.Image())) << name;
        if (i % 5 == 1) {
            EXPECT_LE(LargestChannelError(shown[i], QImage(outFolder + QStringLiteral("/result.jpg"))), 4) << name;
        }
    }
    // The start button's job went on as before, with its "Done." for each press.
    EXPECT_EQ(counted.messageTexts(), QStringList(static_cast<int>(cases.size()), QStringLiteral("Done.")));
    EXPECT_EQ(counted.openedDocuments.size(), static_cast<qsizetype>(cases.size()));
}

TEST_F(PreviewTest, FollowsAFieldOnceTypingPausesAndLoadsItOnce)
{
    open();
    waitForPicture();
    form->hStart->setValue(200);
    form->Option2->setChecked(true);
    const int before = counted.loads;

    form->Text2->clear();
    QTest::keyClicks(form->Text2, third);

    const Picture expected = composedApart(third, first, 0, 200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return SamePixels(window().picture(), expected); }, 10000));
    // One load for the typed path (and the two for the expected picture): not one per key.
    EXPECT_EQ(counted.loads, before + 1 + 2);
    expectPreviewLeftNoTrace();
}

TEST_F(PreviewTest, SaysInOneLineWhichPictureCannotBeShownAndWhy)
{
    open();
    waitForPicture();
    const QString missing = in(QStringLiteral("missing.jpg"));
    struct Case {
        QString text1;
        QString text2;
        QString line;
    };
    const Case cases[] = {
        {QString(), second, QStringLiteral("Image #1: no file chosen")},
        {first, QString(), QStringLiteral("Image #2: no file chosen")},
        {first, missing, QStringLiteral("Image #2: ") + failureOf(missing)},
        {notAPicture, second, QStringLiteral("Image #1: ") + failureOf(notAPicture)},
        {missing, QString(), QStringLiteral("Image #1: ") + failureOf(missing)},
    };
    for (const Case& c : cases) {
        form->Text1->setText(c.text1);
        form->Text2->setText(c.text2);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window().message() == c.line; }, 10000))
            << c.line.toStdString() << " | shown: " << window().message().toStdString();
        EXPECT_TRUE(window().picture().isNull()) << c.line.toStdString();
        EXPECT_FALSE(c.line.contains(QLatin1Char('\n')) || c.line.contains(QLatin1Char('\r')));
    }
    ASSERT_TRUE(failureOf(missing).contains(missing));

    // A picture that can be read again brings the blend back.
    form->Text1->setText(first);
    form->Text2->setText(second);
    waitForPicture();
    EXPECT_TRUE(window().message().isEmpty());
    expectPreviewLeftNoTrace();
}

// While a picture decodes the preview says which, in place of whatever it showed before: the
// blend of the pictures before, or why one of them could not be shown.
TEST_F(PreviewTest, SaysWhichPictureItLoadsWhileItLoads)
{
    counted.holdLoads = true;
    open();
    EXPECT_EQ(window().message(), QStringLiteral("Loading first \u00fc.jpg\u2026"));
    EXPECT_TRUE(window().picture().isNull());
    counted.holdLoads = false;
    waitForPicture();

    const QString missing = in(QStringLiteral("missing.jpg"));
    form->Text2->setText(missing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window().message() == QStringLiteral("Image #2: ") + failureOf(missing); }, 10000));
    counted.holdLoads = true;
    form->Text2->setText(third);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window().message() == QStringLiteral("Loading third.png\u2026"); }, 10000))
        << window().message().toStdString();
    EXPECT_TRUE(window().picture().isNull());
    counted.holdLoads = false;
    const Picture expected = composedApart(first, third, 0, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return SamePixels(window().picture(), expected); }, 10000));
    expectPreviewLeftNoTrace();
}

TEST_F(PreviewTest, WithNoSideItShowsTheCanvasTheStartButtonWritesThen)
{
    form->Option1->setChecked(false);
    form->Text1->clear();
    open();

    // Nothing is composed then, and the destination canvas is written as it is: white.
    const Picture shown = window().picture();
    ASSERT_EQ(shown.width, 729);
    ASSERT_EQ(shown.height, 425);
    EXPECT_EQ(shown.row(200)[300], 0xffffffffu);
    // Picture #2 still loads for when a side is chosen, and changes nothing meanwhile.
    ASSERT_TRUE(QTest::qWaitFor([&] { return counted.loads == 1; }, 5000));
    QTest::qWait(200);
    EXPECT_TRUE(SamePixels(window().picture(), shown));
    expectPreviewLeftNoTrace();

    form->PushButton2_Click();
    EXPECT_TRUE(SamePixels(shown, form->canvases.picDest.Image()));
    EXPECT_EQ(counted.messageTexts(), QStringList{QStringLiteral("Done.")});
}

TEST_F(PreviewTest, CtrlPTogglesItBesideTheWindowWhereverTheKeyboardIsAndStoresIt)
{
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Preview"));
    EXPECT_EQ(window().windowType(), Qt::Tool);
    EXPECT_EQ(window().parentWidget(), form.get());

    for (QWidget* focus : std::initializer_list<QWidget*>{form->Text1, form->Text4, form->hStart, form->PushButton2}) {
        const std::string name = focus->objectName().toStdString();
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(window().isVisible()) << name;
        EXPECT_TRUE(preview().showAction().isChecked()) << name;
        EXPECT_EQ(stored(QStringLiteral("Preview")), QStringLiteral("True")) << name;
        // The keyboard stays in the main window.
        EXPECT_EQ(QApplication::focusWidget(), focus) << name;

        QTest::keyClick(focus, Qt::Key_P, Qt::ControlModifier);
        EXPECT_FALSE(window().isVisible()) << name;
        EXPECT_FALSE(preview().showAction().isChecked()) << name;
        EXPECT_EQ(stored(QStringLiteral("Preview")), QStringLiteral("False")) << name;
    }
    // The key typed nothing into the fields.
    EXPECT_EQ(form->Text1->text(), first);
    EXPECT_EQ(form->Text4->text(), outFolder + QLatin1Char('/'));

    // Closed from its own title bar, it stays closed at the next start.
    open();
    window().close();
    EXPECT_FALSE(preview().isOpen());
    EXPECT_FALSE(preview().showAction().isChecked());
    EXPECT_EQ(stored(QStringLiteral("Preview")), QStringLiteral("False"));
    expectPreviewLeftNoTrace();
}

TEST_F(PreviewTest, TheWindowsBackgroundMenuHoldsShowPreviewAndTheFieldsKeepTheirOwn)
{
    form->show();
    const auto contextMenuOn = [](QWidget* widget) {
        const QPoint place(4, 4);
        QContextMenuEvent event(QContextMenuEvent::Mouse, place, widget->mapToGlobal(place));
        QApplication::sendEvent(widget, &event);
        return QApplication::activePopupWidget();
    };

    for (const bool opening : {true, false}) {
        QWidget* menu = contextMenuOn(form->Frame2);
        ASSERT_EQ(menu, &preview().contextMenu());
        // "Show Preview", then "Export Blend…".
        ASSERT_EQ(preview().contextMenu().actions().size(), 2);
        QAction* show = preview().contextMenu().actions().front();
        EXPECT_EQ(show->text(), QStringLiteral("Show Preview"));
        EXPECT_TRUE(show->isCheckable());
        EXPECT_EQ(show->isChecked(), !opening);
        show->trigger();
        menu->close();
        EXPECT_EQ(window().isVisible(), opening);
        EXPECT_EQ(stored(QStringLiteral("Preview")), opening ? QStringLiteral("True") : QStringLiteral("False"));
    }

    for (QWidget* field : std::initializer_list<QWidget*>{form->Text1, form->Text2, form->Text4}) {
        QWidget* menu = contextMenuOn(field);
        EXPECT_NE(menu, &preview().contextMenu()) << field->objectName().toStdString();
        if (menu)
            menu->close();
    }
}

TEST_F(PreviewTest, OpensAgainAtTheNextStartOnlyWhenItWasOpen)
{
    struct Case {
        const char* stored; // nullptr: no key
        bool opens;
    };
    const Case cases[] = {{"True", true}, {"False", false}, {nullptr, false}, {"maybe", false}, {"1", true}};
    for (const Case& c : cases) {
        emptyStore();
        if (c.stored)
            counted.StoreSetting(QStringLiteral("Preview"), QString::fromLatin1(c.stored));
        counted.messages.clear();
        Form1 next(counted);
        next.Form_Load();
        next.show();
        next.preview().restore();

        const std::string name = c.stored ? c.stored : "(none)";
        EXPECT_EQ(next.preview().isOpen(), c.opens) << name;
        EXPECT_EQ(next.preview().window().isVisible(), c.opens) << name;
        EXPECT_TRUE(counted.messages.empty()) << name;
    }
}

// The user closes the main window with the preview open: the program ends and closes the
// preview with it, which is no closing by the user. Ending writes nothing, so the preview is
// back at the next start.
TEST_F(PreviewTest, LeftOpenAsTheProgramEndsItIsOpenAgainAtTheNextStart)
{
    QGuiApplication::setQuitOnLastWindowClosed(false);
    form->Form_Load();
    form->show();
    preview().showAction().trigger();
    ASSERT_EQ(stored(QStringLiteral("Preview")), QStringLiteral("True"));
    const QByteArray beforeClosing = settingsFileContents();

    QTimer::singleShot(0, form.get(), [this] { CloseAsTheUserDoes(*form); });
    // Should closing not end the event loop, this ends it with a code of its own.
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    QGuiApplication::setQuitOnLastWindowClosed(true);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(settingsFileContents(), beforeClosing);

    Form1 next(counted);
    next.Form_Load();
    next.show();
    next.preview().restore();
    EXPECT_TRUE(next.preview().isOpen());
    EXPECT_TRUE(next.preview().window().isVisible());
}

// Reopening at the start is not the user's doing and stores nothing; the user's closing by
// the title bar is stored.
TEST_F(PreviewTest, TheStartReopensItWithoutStoringAndTheUsersCloseIsStored)
{
    counted.StoreSetting(QStringLiteral("Preview"), QStringLiteral("1"));
    form->Form_Load();
    form->show();
    preview().restore();
    ASSERT_TRUE(window().isVisible());
    EXPECT_EQ(stored(QStringLiteral("Preview")), QStringLiteral("1"));

    CloseAsTheUserDoes(window());
    EXPECT_FALSE(window().isVisible());
    EXPECT_FALSE(preview().isOpen());
    EXPECT_EQ(stored(QStringLiteral("Preview")), QStringLiteral("False"));
}

TEST_F(PreviewTest, TogglingStoresOnlyItsOwnKey)
{
    const auto storedKeys = [] {
        QSettings file(settingsFile(), QSettings::IniFormat);
        QMap<QString, QString> keys;
        for (const QString& key : file.allKeys())
            keys.insert(key, file.value(key).toString());
        return keys;
    };
    form->Form_Load();
    const QMap<QString, QString> designed = storedKeys();
    ASSERT_FALSE(designed.isEmpty());

    preview().showAction().trigger();
    preview().showAction().trigger();

    QMap<QString, QString> after = storedKeys();
    EXPECT_EQ(after.take(QStringLiteral("Vantelle/Preview")), QStringLiteral("False"));
    EXPECT_EQ(after, designed);
}

TEST(PreviewPlace, GoesRightOfTheWindowElseLeftElseWhereItCoversNothingAsLargeAsItCan)
{
    const QRect screen(0, 0, 1920, 1080);
    const QSize preview(500, 300);
    const QSize smallest(125, 75);
    struct Case {
        const char* what;
        QRect mainFrame;
        QRect frame;
    };
    const Case cases[] = {
        {"room on the right", QRect(100, 200, 540, 500), QRect(648, 200, 500, 300)},
        {"only on the left", QRect(1300, 200, 540, 500), QRect(792, 200, 500, 300)},
        {"kept on the screen vertically", QRect(100, 900, 540, 500), QRect(648, 780, 500, 300)},
        {"kept on the screen at the top", QRect(100, -50, 540, 500), QRect(648, 0, 500, 300)},
        // Neither side has room: below the window it has all its size.
        {"below a wide window", QRect(400, 200, 1200, 500), QRect(400, 708, 500, 300)},
        {"above a wide window low on the screen", QRect(400, 560, 1200, 500), QRect(400, 252, 500, 300)},
        // Beside it, smaller: the left side is the roomier, 392 pixels wide.
        {"smaller beside a wide, tall window", QRect(400, 100, 1200, 900), QRect(0, 100, 392, 235)},
        // No room even for the smallest size: where it covers the least of the window.
        {"over the window's right edge", QRect(10, 10, 1850, 1060), QRect(1795, 10, 125, 75)},
    };
    for (const Case& c : cases) {
        const QRect frame = PreviewFrame(c.mainFrame, preview, smallest, screen);
        EXPECT_EQ(frame, c.frame) << c.what;
        EXPECT_TRUE(screen.contains(frame)) << c.what;
        if (frame.size() != smallest) {
            EXPECT_FALSE(frame.intersects(c.mainFrame)) << c.what;
        }
    }
    // On a second screen to the right of the first.
    EXPECT_EQ(PreviewFrame(QRect(2000, 100, 540, 500), preview, smallest, QRect(1920, 0, 1280, 1024)),
              QRect(2548, 100, 500, 300));
}

// On a small screen (or at twice the scale) the main window leaves little room beside it; the
// preview then opens smaller, and never over the fields.
TEST_F(PreviewTest, OpensWhereItCoversNoneOfTheWindowSmallerWhereTheScreenHasLittleRoom)
{
    form->show();
    const QRect screen = form->screen()->availableGeometry();
    const QSize designed = window().size();
    const auto openWithRoomOnTheRight = [&](int room) {
        form->move(screen.right() + 1 - form->frameGeometry().width() - room, screen.top() + 40);
        open();
        const QRect frame = window().frameGeometry();
        EXPECT_FALSE(frame.intersects(form->frameGeometry())) << room;
        EXPECT_TRUE(screen.contains(frame)) << room;
    };
    openWithRoomOnTheRight(designed.width() + 40);
    EXPECT_EQ(window().size(), designed);
    preview().showAction().trigger();

    openWithRoomOnTheRight(designed.width() / 2);
    EXPECT_LT(window().width(), designed.width());
    EXPECT_LT(window().height(), designed.height());
    preview().showAction().trigger();

    // Made smaller for want of room, it opens at its own size again where there is room; a
    // size the user gives it is its own from then on.
    openWithRoomOnTheRight(designed.width() + 40);
    EXPECT_EQ(window().size(), designed);
    window().resize(400, 240);
    preview().showAction().trigger();
    openWithRoomOnTheRight(designed.width() + 40);
    EXPECT_EQ(window().size(), QSize(400, 240));
}
