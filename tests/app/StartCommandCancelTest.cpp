#include "StartCommandFixture.h"

#include "fakes/FakePlatform.h"
#include "job/FileFaults.h"

#include <QApplication>
#include <QImage>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace {

std::vector<std::uint32_t> PixelsOf(const Picture& picture)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < picture.height; ++y)
        pixels.insert(pixels.end(), picture.row(y), picture.row(y) + picture.width);
    return pixels;
}

// Loads that tell the test when they start and, when asked to, go on until they are stopped,
// counting how each one ended.
class StoppableLoadsPlatform : public FakePlatform {
public:
    // Run on the window's thread once a load has started, and once it has completed.
    std::function<void()> onLoadStarted;
    std::function<void()> onLoadCompleted;
    bool holdUntilStopped = false;
    std::atomic<int> started = 0;
    std::atomic<int> stopped = 0;
    std::atomic<int> completed = 0;

    Picture LoadPictureUnlessStopped(const QString& path, const StopFlag& stop) override
    {
        ++started;
        if (onLoadStarted)
            QMetaObject::invokeMethod(&calls_, onLoadStarted, Qt::QueuedConnection);
        // A load nobody stops fails the test by completing, not by hanging.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (holdUntilStopped && !stop && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (stop) {
            ++stopped;
            throw Stopped();
        }
        Picture picture = FakePlatform::LoadPicture(path);
        ++completed;
        if (onLoadCompleted)
            QMetaObject::invokeMethod(&calls_, onLoadCompleted, Qt::QueuedConnection);
        return picture;
    }

private:
    // The calls still waiting when the test ends go with it: one left over would otherwise
    // act on the next test's window.
    QObject calls_;
};

// The start button's window with an earlier result in its output folder.
class StartCommandCancelTest : public StartCommandFixture<StoppableLoadsPlatform> {
protected:
    StartCommandCancelTest() { EXPECT_TRUE(PutFile(result, earlier)); }

    QProgressDialog* progress() { return form.findChild<QProgressDialog*>(); }

    // Presses Cancel in the job's progress dialog, once; with `shown` only once the dialog has
    // come up, as the user would.
    void pressCancel(bool shown)
    {
        if (cancelPressed)
            return;
        cancelPressed = true;
        QProgressDialog* dialog = progress();
        ASSERT_NE(dialog, nullptr);
        if (shown) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->isVisible(); }, 10000));
        }
        QPushButton* cancel = dialog->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
        if (shown)
            QTest::mouseClick(cancel, Qt::LeftButton);
        else
            cancel->click();
    }

    // What a cancelled job leaves: the earlier result whole and alone, nothing opened, nothing
    // told, the normal pointer, and no progress dialog.
    void expectNothingDone(const char* moment)
    {
        EXPECT_EQ(ContentOf(result), earlier) << moment;
        EXPECT_EQ(EntriesOf(outFolder), QStringList{QStringLiteral("result.jpg")}) << moment;
        EXPECT_TRUE(platform.openedDocuments.isEmpty()) << moment;
        EXPECT_TRUE(platform.messages.empty()) << platform.messageTexts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(form.MousePointer(), Form1::PointerDefault) << moment;
        EXPECT_EQ(progress(), nullptr) << moment;
    }

    const QByteArray earlier = QByteArrayLiteral("the earlier result");
    bool cancelPressed = false;
};

} // namespace

TEST_F(StartCommandCancelTest, CancelledBeforeTheLoadsNothingIsLoadedOrWritten)
{
    // The job's one pass of waiting events comes before the loads.
    QTimer::singleShot(0, &form, [this] { pressCancel(false); });
    form.PushButton2_Click();

    ASSERT_TRUE(cancelPressed);
    EXPECT_EQ(platform.started, 0);
    expectNothingDone("before the loads");
}

TEST_F(StartCommandCancelTest, CancelShownDuringTheLoadsStopsThemAndWritesNothing)
{
    platform.holdUntilStopped = true;
    platform.onLoadStarted = [this] { pressCancel(true); };
    form.PushButton2_Click();

    ASSERT_TRUE(cancelPressed);
    EXPECT_EQ(platform.started, 2);
    EXPECT_EQ(platform.stopped, 2);
    EXPECT_EQ(platform.completed, 0);
    expectNothingDone("during the loads");
}

// A Cancel that comes as the loads end still stops the job before it composes and writes.
TEST_F(StartCommandCancelTest, CancelledAsThePicturesArriveNothingIsComposedOrWritten)
{
    platform.onLoadCompleted = [this] {
        if (platform.completed == 2)
            pressCancel(false);
    };
    const std::vector<std::uint32_t> before = PixelsOf(form.canvases.picDest.Image());
    form.PushButton2_Click();

    ASSERT_TRUE(cancelPressed);
    EXPECT_EQ(platform.completed, 2);
    EXPECT_EQ(PixelsOf(form.canvases.picDest.Image()), before);
    expectNothingDone("as the pictures arrive");
}

TEST_F(StartCommandCancelTest, ClosingTheWindowStopsTheLoadsInsteadOfWaitingForThem)
{
    platform.holdUntilStopped = true;
    platform.onLoadStarted = [this] { form.close(); };
    form.PushButton2_Click();

    EXPECT_EQ(platform.stopped, 2);
    EXPECT_EQ(platform.completed, 0);
    expectNothingDone("closing the window");
}

// Left alone, the same loads go through the stoppable way and the job does all it did.
TEST_F(StartCommandCancelTest, AJobNobodyCancelsWritesOpensAndSaysDone)
{
    form.PushButton2_Click();

    EXPECT_EQ(platform.completed, 2);
    EXPECT_EQ(QImage(result).size(), QSize(729, 425));
    EXPECT_EQ(platform.openedDocuments, QStringList{result});
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(form.MousePointer(), Form1::PointerDefault);
    EXPECT_EQ(progress(), nullptr);
}
