#include "StartCommandFixture.h"

#include "app/LivePreview.h"
#include "app/PreviewWindow.h"

#include "UserClose.h"

#include "fakes/FakePlatform.h"
#include "job/FileFaults.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QContextMenuEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace {

// Each picture load waits until the test lets the loads go, so that the test can act on the
// window while the job waits for its pictures.
class HeldLoadsPlatform : public FakePlatform {
public:
    Picture LoadPicture(const QString& path) override
    {
        {
            std::unique_lock lock(mutex_);
            ++started_;
            // A test that never lets go fails on its own assertions, not by hanging.
            changed_.wait_for(lock, std::chrono::seconds(20), [&] { return released_; });
        }
        return FakePlatform::LoadPicture(path);
    }

    // The job's two loads, and those of an open preview, which loads the same two pictures.
    int loadsToStart = 2;

    bool bothLoadsStarted()
    {
        const std::lock_guard lock(mutex_);
        return started_ == loadsToStart;
    }

    void letLoadsGo()
    {
        const std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int started_ = 0;
    bool released_ = false;
};

// The start button's window over the held loads. `whileLoading` runs once, from a timer of
// the window's thread, when both loads have started; it must let the loads go.
class StartCommandWhileLoadingTest : public StartCommandFixture<HeldLoadsPlatform> {
protected:
    void runJob(const std::function<void()>& whileLoading)
    {
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!platform.bothLoadsStarted())
                return;
            poll.stop();
            ranWhileLoading = true;
            whileLoading();
        });
        poll.start();
        form.PushButton2_Click();
        platform.letLoadsGo(); // should the job never have waited for them
    }

    bool ranWhileLoading = false;
};

TEST_F(StartCommandWhileLoadingTest, TheWindowRunsItsEventsButTakesNoInputWhileThePicturesLoad)
{
    int messagesDuringLoad = -1;
    QString textDuringLoad;
    runJob([&] {
        // "Help" by mouse and by key, a typed letter, and the start button once more.
        QTest::mouseClick(form.PushButton4, Qt::LeftButton);
        QTest::keyClick(form.PushButton4, Qt::Key_Space);
        QTest::keyClick(form.Text1, Qt::Key_X);
        QTest::mouseClick(form.PushButton2, Qt::LeftButton);
        messagesDuringLoad = static_cast<int>(platform.messages.size());
        textDuringLoad = form.Text1->text();
        EXPECT_EQ(form.MousePointer(), Form1::PointerBusy);
        platform.letLoadsGo();
    });

    EXPECT_TRUE(ranWhileLoading) << "no timer fired while the pictures loaded";
    EXPECT_EQ(messagesDuringLoad, 0);
    EXPECT_EQ(textDuringLoad, first);
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(platform.openedDocuments, QStringList{outFolder + QStringLiteral("/result.jpg")});
    EXPECT_EQ(QImage(outFolder + QStringLiteral("/result.jpg")).size(), QSize(729, 425));

    // The window takes input again once the job is over.
    QTest::mouseClick(form.PushButton4, Qt::LeftButton);
    EXPECT_EQ(platform.messages.size(), 2u);
}

TEST_F(StartCommandWhileLoadingTest, ClosingTheWindowWhileThePicturesLoadEndsTheJob)
{
    runJob([&] {
        form.close();
        platform.letLoadsGo();
    });

    EXPECT_TRUE(ranWhileLoading);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(platform.openedDocuments.isEmpty());
    EXPECT_TRUE(EntriesOf(outFolder).isEmpty());
    EXPECT_EQ(form.MousePointer(), Form1::PointerDefault);
}

// No command of the preview runs during the job either: Ctrl+P in it or in the main window,
// its context menu or the close button of its title bar leave it open, and nothing is stored.
TEST_F(StartCommandWhileLoadingTest, ThePreviewTakesNoCommandWhileThePicturesLoad)
{
    LivePreview& preview = form.preview();
    PreviewWindow& window = preview.window();
    preview.showAction().trigger();
    platform.loadsToStart = 4;
    ASSERT_EQ(platform.StoredSetting(QStringLiteral("Preview")), QStringLiteral("True"));
    // What each command left, as "open/stored key"; every one must leave "open/True".
    QStringList afterEach;
    const auto note = [&](const char* command) {
        afterEach << QString::fromLatin1(command) + QLatin1Char(':')
                         + (preview.isOpen() && window.isVisible() && preview.showAction().isChecked() ? "open" : "closed")
                         + QLatin1Char('/') + platform.StoredSetting(QStringLiteral("Preview")).value_or(QString());
    };
    runJob([&] {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        note("Ctrl+P in the preview");
        CloseAsTheUserDoes(window);
        note("its close button");
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(form.Text1, Qt::Key_P, Qt::ControlModifier);
        note("Ctrl+P in the main window");
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4), form.mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(form.Frame2, &menu);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        platform.letLoadsGo();
    });

    EXPECT_TRUE(ranWhileLoading);
    EXPECT_EQ(afterEach.join(QStringLiteral(", ")).toStdString(),
              "Ctrl+P in the preview:open/True, its close button:open/True, Ctrl+P in the main window:open/True");
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});

    // Once the job is over, the keys and the close button work again.
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(platform.StoredSetting(QStringLiteral("Preview")), QStringLiteral("False"));
    preview.showAction().trigger();
    CloseAsTheUserDoes(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(platform.StoredSetting(QStringLiteral("Preview")), QStringLiteral("False"));
}

TEST_F(StartCommandWhileLoadingTest, AFailedLoadIsStillReportedAfterTheWait)
{
    form.Text2->setText(dir.filePath(QStringLiteral("missing.png")));
    runJob([&] { platform.letLoadsGo(); });

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("File not found: ")));
    EXPECT_TRUE(platform.openedDocuments.isEmpty());
}

} // namespace
